#pragma once

#include <QCursor>
#include <QFont>

namespace sessiya {

// Registers the shipped font and makes it, in the Fusion style, the look of every window.
// Safe to call more than once.
void applyWindowLook();

// The stand-in for the 8-point default dialog font. Sizes are in pixels, so every screen
// wraps the story's texts the same way.
QFont dialogFont();
// The bold link fonts: 9.75 and 12 points of the same family.
QFont mailLinkFont();
QFont websiteLinkFont();

// The pointing hand, fingertip at (12, 1).
QCursor handCursor();

}  // namespace sessiya
