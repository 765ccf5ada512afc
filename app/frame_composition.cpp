// The frame function: slot picture, overlay and bars.
#include "app/frame_composition.h"

#include <GL/glew.h>

#include "app/demo_state.h"
#include "app/music.h"
#include "app/timeline.h"
#include "app/window.h"
#include "base/demo_clock.h"
#include "effects/slot_table.h"
#include "render/gl_state.h"
#include "render/render_target.h"
#include "render/screen_pass.h"
#include "render/shader_library.h"
#include "render/texture_registry.h"

namespace {

// The overlay image over the whole 16:9 picture, alpha blended. Without its image (the file was
// missing or damaged, which start-up has said) it would be opaque black over everything.
void drawOverlay() {
    if (!textureHasImage(demoState.overlayTexture)) return;
    Material& overlay = builtInMaterial(TexturedAlpha);
    setTextureSlot(overlay.findTexture("tex"), demoState.overlayTexture);
    setUniformValue(overlay.findUniform("alpha"), 1, 0, 0, 0);
    overlay.apply();
    setBlendMode(BlendMode::Alpha);
    drawFullscreenQuad(TextureRows::TopFirst);
    releaseMaterial(&overlay);
}

// Opaque black wherever the window lies outside the 16:9 picture. The material stays current.
void drawBars() {
    glColor4f(0, 0, 0, 0);
    builtInMaterial(VertexColour).apply();
    setBlendMode(BlendMode::Off);
    setCullMode(CullMode::Off);
    disableCap(GL_DEPTH_TEST);
    drawLetterboxBars(frameAspect);
}

}  // namespace

void runFrame(SceneRun frame) {
    updateAudio();
    composeFrame(frame);
}

void composeFrame(SceneRun frame) {
    const int slot = timelineSlot(demoTimeMs());
    if (slot == endOfShow) exitShow(0);
    drawSlot(slot, frame);
    if (frame == SceneRun::Drawn) {
        drawOverlay();
        drawBars();
    }
    if (demoState.keyState[escapeKey] == 1) exitShow(0);
}

bool renderFrame() {
    runFrame(SceneRun::Drawn);
    return true;
}
