// The page's elements by id, as the stored layouts name the controls.
export const $ = (id) => document.getElementById(id);
