// Slot 1, 0 to 45500 ms: the climb through the cloud layers into the sky, drawn straight to the
// screen.
#pragma once

// One frame of slot 1 onto the screen.
void drawSkyAscentScene();
