// Run as the page's head is read: both faces of the font start loading here, so the first
// scene, drawn once the script below is reached, waits for neither.
document.fonts.load('11px "Sessiya Sans"');
document.fonts.load('bold 11px "Sessiya Sans"');
