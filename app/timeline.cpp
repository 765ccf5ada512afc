// The show's schedule and the frame function the window system calls.
#include "app/timeline.h"

#include <GL/glew.h>

#include "app/demo_state.h"
#include "app/music.h"
#include "app/window.h"
#include "render/gl_state.h"
#include "render/material.h"
#include "render/render_target.h"
#include "render/screen_pass.h"

namespace {

using SlotFunction = void (*)();

// What draws each slot; a slot without a function draws nothing.
constexpr SlotFunction slotFunctions[endOfShow] = {};

// The overlay image over the whole 16:9 picture, alpha blended.
void drawOverlay() {
    Material& overlay = builtInMaterial(TexturedAlpha);
    setTextureSlot(overlay.findTexture("tex"), demoState.overlayTexture);
    setUniformValue(overlay.findUniform("alpha"), 1, 0, 0, 0);
    overlay.apply();
    setBlendMode(3);
    drawFullscreenQuad(0);
    releaseMaterial(&overlay);
}

// Opaque black wherever the window lies outside the 16:9 picture. The material stays current.
void drawBars() {
    glColor4f(0, 0, 0, 0);
    builtInMaterial(VertexColour).apply();
    setBlendMode(0);
    setCullMode(0);
    disableCap(GL_DEPTH_TEST);
    drawLetterboxBars(frameAspect);
}

}  // namespace

int timelineSlot(std::int32_t t) {
    for (const SlotInterval& interval : timelineSlots)
        if (t >= interval.fromMs && t < interval.toMs) return interval.slot;
    return t >= showEndMs ? endOfShow : noSlot;
}

void renderFrame() {
    updateAudio();
    const int slot = timelineSlot(demoTimeMs());
    if (slot == endOfShow) exitShow(0);
    if (SlotFunction draw = slotFunctions[slot]) draw();
    drawOverlay();
    drawBars();
    if (demoState.keyState[escapeKey] == 1) exitShow(0);
}
