// Screen-space drawing: the centred 16:9 area of the window, the black bars around it, and a
// textured quad over the whole current destination.
#pragma once

struct ScreenRect {
    int x, y, width, height;
};

// The centred area of the given aspect inside a window (pure arithmetic, as the GL helpers use it).
ScreenRect letterboxRect(int windowWidth, int windowHeight, float aspect);

// glViewport of letterboxRect for the window's current size.
void letterboxViewport(float aspect);

// Which texture row a full-screen quad puts at the top edge (the values are the flip numbers the
// scenes were written with).
enum class TextureRows {
    TopFirst = 0,     // row v = 0 at the top: an image stored top row first shows upright
    BottomFirst = 1,  // row v = 0 at the bottom: a render target shows upright
};

// One textured quad over the current destination, the one bound last
// (renderDestinations.currentTarget): a target's whole area, or the letterboxed screen.
void drawFullscreenQuad(TextureRows rows);

// The four bars outside the centred area of the window, in the current colour and material.
void drawLetterboxBars(float aspect);
