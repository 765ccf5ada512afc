// The slot-2 scene, 45500 to 101600 ms: the procession of flame carriers over the endless terrain.
#pragma once

// One run of the scene into the render target (or the screen for screenTarget).
void drawProcessionScene(int target);
