// The X display as the GLUT window's display.
#include "platform/display.h"

#include <cstdlib>

bool hasWindowDisplay() {
    const char* display = std::getenv("DISPLAY");
    return display != nullptr && *display != '\0';
}

void hideDisplayFromGlut() {}

void restoreDisplayAfterGlut() {}
