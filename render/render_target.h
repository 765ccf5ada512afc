// Off-screen drawing destinations (framebuffer objects with a colour texture and a depth
// buffer) and the switch between them and the screen. Index screenTarget (99999) is the window.
#pragma once

// The render-target index that stands for the window's own framebuffer.
constexpr int screenTarget = 99999;

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
    unsigned framebuffer;    // GL framebuffer; 0 for a texture-only entry
    unsigned colourTexture;  // GL texture the framebuffer draws into
    unsigned depthBuffer;    // GL renderbuffer
    int textureIndex;        // texture registry index of a texture-only entry; -1 otherwise
    int width;
    int height;
    bool textureOnly;        // a plain texture: binding it draws to the screen
};

struct RenderTargetTable {
    RenderTarget targets[maxRenderTargets];
    int count;
};

extern RenderTargetTable renderTargets;

// A new target of either kind; returns its index, or -1 after a message when the table is full.
int createRenderTarget(int width, int height, bool textureOnly);

// The shared targets above, in index order: three 512x512, one of the window's size, then five
// texture-only 512x512 (the first textures of the run, so registry indices 0 to 4).
void createSharedRenderTargets();

// Draws into the target (the screen for screenTarget and texture-only entries) with the frame's
// projection and viewport, and records it as renderDestinations.currentTarget for the passes
// that draw over the current destination; clears nothing.
void bindRenderTarget(int index);

// Projection (renderDestinations.fieldOfView), viewport (letterboxed on the screen) and an
// identity modelview for the target.
void setTargetViewport(int index);

// The GL colour texture of a framebuffer target, for sampling it in a later pass; 0 otherwise.
unsigned renderTargetTexture(int index);
