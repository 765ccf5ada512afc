// Slot 3's chain on Mesa, with no scene resources loaded: the flashes handed from frame to frame
// and the screen lit by them.
#include "effects/worms/slot3_chain.h"

#include <GL/glew.h>
#include <gtest/gtest.h>

#include "base/demo_clock.h"
#include "base/show_slots.h"
#include "effects/common/scene_flash.h"
#include "effects/slot_table.h"
#include "effects/worms/worm_bursts.h"
#include "render/gl_state.h"
#include "render/render_target.h"
#include "tests/support/gl_context.h"

namespace {

Rgba screenMiddle() {
    GLint viewport[4];
    glGetIntegerv(GL_VIEWPORT, viewport);
    unsigned char c[4] = {};
    glReadPixels(viewport[0] + viewport[2] / 2, viewport[1] + viewport[3] / 2, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, c);
    return {c[0], c[1], c[2], c[3]};
}

TEST(Slot3Chain, HandsTheFlashOnAndLightsTheScreenWithIt) {
    ASSERT_TRUE(requireShaderLibrary());
    struct Row {
        int t;
        float accumulated;  // by the previous frame
        int grey;           // the screen's middle, from black
        float added;        // by this frame: the first worm's flash, 101800 to 103600
    };
    const Row rows[] = {
        {102700, 2, 153, 0.5f},   // 0.3 of the flash, added
        {102800, 0.5f, 38, 0.4444444f},
        {103000, 4, 255, 1.0f / 3.0f},  // clamped to 1
        {103600, 0, 0, 0},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.t);
        demoClock.musicMs = row.t;
        sceneFlashes.sceneFlashAccumulator = row.accumulated;
        sceneFlashes.sceneFlash = 0;
        bindRenderTarget(screenTarget);
        setClearColor(0, 0, 0);
        clearBuffers(GL_COLOR_BUFFER_BIT);

        drawSlot(roomSlot("worms").slot, SceneRun::Drawn);
        EXPECT_PRED3(near, screenMiddle(), (Rgba{row.grey, row.grey, row.grey, 255}), 1);
        EXPECT_EQ(sceneFlashes.sceneFlash, 0);
        EXPECT_FLOAT_EQ(sceneFlashes.sceneFlashAccumulator, row.added);
        EXPECT_TRUE(wormBurstFlags.done[0]) << "the first worm's sparks start with the slot";
    }
}

}  // namespace
