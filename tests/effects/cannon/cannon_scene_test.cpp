// The cannon scene and slot 4's chain on Mesa, without the scene files: the bursts' emission,
// the flash hand-over and the glow composite read back from the screen.
#include <GL/glew.h>
#include <gtest/gtest.h>

#include "base/demo_clock.h"
#include "base/show_slots.h"
#include "effects/cannon/cannon_path.h"
#include "effects/cannon/cannon_resources.h"
#include "effects/cannon/cannon_scene.h"
#include "effects/cannon/slot4_chain.h"
#include "effects/common/scene_flash.h"
#include "effects/slot_table.h"
#include "render/gl_state.h"
#include "render/render_target.h"
#include "render/shader_library.h"
#include "scene/particle_system.h"
#include "tests/support/gl_context.h"

namespace {

int liveCount(const ParticleSystem& system) {
    int live = 0;
    for (int i = 0; i < particlePoolSize; ++i) live += system.particles[i].lifetimesLeft > 0;
    return live;
}

TEST(CannonScene, MembersBurstFromTheFirstRunOnceEach) {
    ASSERT_TRUE(requireShaderLibrary());
    for (ParticleSystem*& system : cannonParticleSystems) {
        system = new ParticleSystem(cannonSparkTuning);
        system->setMaterial(&builtInMaterial(Sprite));
    }
    const float lt = 18401;  // members 3 and 5 are due
    demoClock.musicMs = cannonSlotStartMs + static_cast<int>(lt);

    // The sharp-image run draws no formation but emits the bursts.
    drawCannonScene(sceneTarget, SceneRun::Drawn);
    for (int i = 0; i < formationSize; ++i) EXPECT_EQ(cannonParticleSystems[i]->emitted, i == 3 || i == 5) << i;
    const ParticleSystem& sparks = *cannonParticleSystems[3];
    EXPECT_EQ(liveCount(sparks), 1000);
    const CannonPoint at = formationPosition(3, lt);
    const Particle& first = sparks.particles[0];
    EXPECT_EQ(first.kind, risingSpark);
    EXPECT_FLOAT_EQ(first.a, at.x);
    EXPECT_FLOAT_EQ(first.b, at.y);
    EXPECT_FLOAT_EQ(first.c, at.z);
    EXPECT_FLOAT_EQ(first.e, 0.5f) << "orange";

    drawCannonScene(screenTarget, SceneRun::Drawn);
    EXPECT_EQ(liveCount(sparks), 1000) << "the screen run does not burst again";
}

TEST(CannonChain, HandsTheFlashOnAndAddsTheBlurredPicture) {
    ASSERT_TRUE(requireShaderLibrary());
    demoClock.frameSeconds = 0;
    // Without the post-processing scene the blur passes draw nothing, so the blurred image is
    // the grey left here.
    bindRenderTarget(blurTargetV);
    setClearColor(100.0f / 255, 100.0f / 255, 100.0f / 255);
    clearBuffers(GL_COLOR_BUFFER_BIT);

    struct Row {
        int t;
        float accumulatorAfter;  // the chain's own flash, for the next frame
        int grey;                // the middle of the screen; -1: not read
    };
    const Row rows[] = {
        {150000, 0, 100},         // the blurred grey added at full weight
        {150600, 0.5f, -1},       // half-way through the 150100 flash
        {177750, 0, 128 + 50},    // white-out at 0.5 and the glow at 0.5
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.t);
        demoClock.musicMs = row.t;
        bindRenderTarget(screenTarget);
        setClearColor(0, 0, 0);
        clearBuffers(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        sceneFlashes.sceneFlashAccumulator = 0.8f;

        drawSlot(roomSlot("cannon").slot, SceneRun::Drawn);
        EXPECT_EQ(sceneFlashes.sceneFlash, 0);
        EXPECT_FLOAT_EQ(sceneFlashes.sceneFlashAccumulator, row.accumulatorAfter);
        if (row.grey >= 0) {
            const int g = row.grey;
            EXPECT_PRED3(near, pixelAt(320, 240, 480), (Rgba{g, g, g, 255}), 2);
        }
    }
}

}  // namespace
