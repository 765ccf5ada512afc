// The display the GLUT window opens on: whether there is one, and what glutInit must not see.
#pragma once

// True when a window can be opened: on X when DISPLAY names a display; a Windows desktop always
// has one.
bool hasWindowDisplay();

// Around glutInit: hides what the window system's freeglut would misread in the environment, then
// hands it back. Nothing to do on X.
void hideDisplayFromGlut();
void restoreDisplayAfterGlut();
