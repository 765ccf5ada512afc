// Screen-space drawing: the centred 16:9 area of the window, the black bars around it, and a
// textured quad over the whole current destination.
#pragma once

struct ScreenRect {
    int x, y, width, height;
};

// The centred area of the given aspect inside a window (pure arithmetic, as the GL helpers use it).
ScreenRect letterboxRect(int windowWidth, int windowHeight, float aspect);

// glViewport of letterboxRect for the current window.
void letterboxViewport(float aspect);

// One textured quad over the current destination. flip 0 puts texture row v = 0 at the top edge
// (an image stored top row first shows upright); flip 1 shows a render target upright.
void drawFullscreenQuad(int flip);

// The four bars outside the centred area, in the current colour and material.
void drawLetterboxBars(float aspect);
