// How a scene's texts are put on the page, shared by the page and the build that writes the
// opening scene into it.
export const TWIPS_PER_PIXEL = 15;

// An option's button as a screen reader names it: its letter and its text.
export const optionName = (letter, caption) => `${letter}. ${caption}`;

// The one column shows a caption with the spaces that push a line on as a line break.
export const reflowedText = (text) => text.replace(/ {2,}/g, "\n");
