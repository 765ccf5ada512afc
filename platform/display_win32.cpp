// The Windows desktop as the GLUT window's display.
#include "platform/display.h"

#include <cstdlib>
#include <string>

namespace {

std::string hiddenDisplay;
bool displayHidden = false;

}  // namespace

bool hasWindowDisplay() { return true; }

// freeglut on Windows takes DISPLAY for a device name, and Wine passes its X display on in it.
void hideDisplayFromGlut() {
    const char* display = std::getenv("DISPLAY");
    if (display == nullptr) return;
    hiddenDisplay = display;
    displayHidden = true;
    _putenv("DISPLAY=");
}

// Children (the check, a restart) find the environment as this process found it.
void restoreDisplayAfterGlut() {
    if (!displayHidden) return;
    displayHidden = false;
    _putenv(("DISPLAY=" + hiddenDisplay).c_str());
}
