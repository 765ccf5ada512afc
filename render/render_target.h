// Off-screen drawing destinations (framebuffer objects with a colour texture and a depth
// buffer) and the switch between them and the screen. Index screenTarget (99999) is the window.
#pragma once

constexpr int maxRenderTargets = 32;
constexpr float frameAspect = 1.7777778f;  // every destination shows the same 16:9 frame

// Indices of the shared targets created at start-up.
constexpr int sceneTarget = 0;   // sharp copy of the scene, source of the blur
constexpr int blurTargetH = 1;   // horizontal blur
constexpr int blurTargetV = 2;   // vertical blur: the blurred image
constexpr int focusTarget = 3;   // window-sized depth-of-field pre-pass
constexpr int firstSpareTarget = 4;
constexpr int spareTargetCount = 5;

struct RenderTarget {
    unsigned framebuffer;   // GL framebuffer; for a texture-only entry its texture registry index
    unsigned colourTexture;
    unsigned depthBuffer;
    int width;
    int height;
    bool textureOnly;
};

struct RenderTargetTable {
    RenderTarget targets[maxRenderTargets];
    int count;
};

extern RenderTargetTable renderTargets;

// A new target of either kind; returns its index, or -1 after a message when the table is full.
int createRenderTarget(int width, int height, bool textureOnly);

// Draws into the target (the screen for screenTarget and texture-only entries) with the frame's
// projection and viewport; clears nothing.
void bindRenderTarget(int index);

// Projection, viewport (letterboxed on the screen) and an identity modelview for the target.
void setTargetViewport(int index);

// The GL colour texture of a framebuffer target, for sampling it in a later pass; 0 otherwise.
unsigned renderTargetTexture(int index);
