// The shared random sequence and the particle pool's emission, motion and drawing.
#include "scene/particle_system.h"

#include <GL/glew.h>
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <memory>

#include "render/gl_state.h"
#include "render/render_target.h"
#include "render/shader_library.h"
#include "render/texture_registry.h"
#include "scene/random.h"
#include "tests/support/gl_context.h"

namespace {

// The tunings the show's rooms give their dust and sparks (effects/common/dust_start.cpp and the
// rooms' *_resources.cpp), so that these tests see particles as the show has them.
constexpr ParticleTuning dustTuning{
    .shortestLifeMs = 2000, .lifeSpreadMs = 3000, .slowDownMs = 0.0f, .fadeMs = 0.0f, .fadeGrey = 0.0f, .fadeAlpha = 0.0f};
constexpr ParticleTuning sparkTuning{.shortestLifeMs = 1500,
                                     .lifeSpreadMs = 1500,
                                     .slowDownMs = 3000.0f,
                                     .fadeMs = 1000.0f,
                                     .fadeGrey = 0.2f,
                                     .fadeAlpha = 0.5f};

TEST(Random, StartsFromStateOneAndIsNeverReseeded) {
    resetRandom();
    const int expected[10] = {41, 18467, 6334, 26500, 19169, 15724, 11478, 29358, 26962, 24464};
    for (int value : expected) EXPECT_EQ(nextRandom(), value);
}

class Particles : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(requireShaderLibrary());
        resetRandom();
    }
    static int liveCount(const ParticleSystem& system) {
        int live = 0;
        for (int i = 0; i < particlePoolSize; ++i) live += system.particles[i].lifetimesLeft > 0;
        return live;
    }
    // One spark of colour (1, 0.6, 0) in the middle of a cleared 32x32 target, 8 pixels a unit,
    // drawn through the vertex-colour material once its life is set.
    static std::unique_ptr<ParticleSystem> sparkInTheMiddle(const ParticleTuning& tuning) {
        bindRenderTarget(offscreenTarget(32, 32));
        glClearColor(0, 0, 0, 0);
        clearBuffers(GL_COLOR_BUFFER_BIT);
        glMatrixMode(GL_PROJECTION);
        glLoadIdentity();
        glOrtho(-2, 2, -2, 2, -1, 1);
        resetModelview();
        setBlendMode(BlendMode::Off);
        auto sparks = std::make_unique<ParticleSystem>(tuning);
        sparks->setMaterial(&builtInMaterial(VertexColour));
        sparks->emit(spark, 1, 0, 0, 0, 1.0f, 0.6f, 0.0f);
        sparks->particles[0].position[0] = sparks->particles[0].position[1] = sparks->particles[0].position[2] = 0;
        return sparks;
    }
};

TEST_F(Particles, FirstDustParticlesLandWhereTheSequenceSays) {
    ParticleSystem dust(dustTuning);
    dust.emit(boxDust, 2, 10, 20, 30, 0, 0, -0.1f);
    const Particle& first = dust.particles[0];
    EXPECT_FLOAT_EQ(first.position[0], -9.918f);
    EXPECT_FLOAT_EQ(first.position[1], 13.868f);
    EXPECT_FLOAT_EQ(first.position[2], 8.004f);
    EXPECT_EQ(first.life, 4500.0f);
    EXPECT_EQ(first.lifetimesLeft, 999);
    EXPECT_EQ(first.velocity[2], -0.1f);
    const Particle& second = dust.particles[1];
    EXPECT_FLOAT_EQ(second.position[0], 8.338f);
    EXPECT_FLOAT_EQ(second.position[1], 2.896f);
    EXPECT_FLOAT_EQ(second.position[2], -21.132f);
    EXPECT_EQ(second.life, 4358.0f);
    EXPECT_EQ(dust.particles[2].lifetimesLeft, 0);
}

TEST_F(Particles, EmissionFillsTheLowestFreeSlots) {
    ParticleSystem sparks(sparkTuning);
    EXPECT_FALSE(sparks.emitted);
    sparks.emit(spark, 0, 0, 0, 0, 1, 1, 1);
    EXPECT_TRUE(sparks.emitted);
    EXPECT_EQ(liveCount(sparks), 0);
    sparks.emit(spark, 800, 1, 2, 3, 1, 0.5f, 0);
    EXPECT_EQ(sparks.particles[799].lifetimesLeft, 1);
    EXPECT_EQ(sparks.particles[800].lifetimesLeft, 0);
    sparks.emit(spark, 800, 1, 2, 3, 1, 0.5f, 0);
    EXPECT_EQ(sparks.particles[1599].lifetimesLeft, 1);
    EXPECT_EQ(sparks.particles[1600].lifetimesLeft, 0);
    EXPECT_EQ(sparks.particles[900].position[1], 2.0f) << "sparks start at their origin";
    sparks.emit(spark, 20000, 0, 0, 0, 1, 1, 1);
    EXPECT_EQ(liveCount(sparks), particlePoolSize);
}

TEST_F(Particles, SparkDirectionsAreNormalisedThenScaled) {
    ParticleSystem sparks(sparkTuning);
    sparks.emit(risingSpark, 200, 0, 0, 0, 1, 1, 1);
    int upwards = 0;
    for (int i = 0; i < 200; ++i) {
        const float* v = sparks.particles[i].velocity;
        const float length = std::sqrt(v[0] * v[0] + v[1] * v[1] + v[2] * v[2]);
        EXPECT_LE(length, 0.1f);  // a unit vector times at most 999 / 10000
        upwards += v[1] >= 0.0f;
        EXPECT_GE(sparks.particles[i].life, 1500.0f);
        EXPECT_LT(sparks.particles[i].life, 3000.0f);
    }
    EXPECT_EQ(upwards, 200) << "rising sparks never point down";
}

TEST_F(Particles, DustDriftsAndRespawnsInItsBox) {
    ParticleSystem dust(dustTuning);
    dust.emit(boxDust, 1, 10, 10, 10, 0, 0, -0.1f);
    Particle& p = dust.particles[0];
    p.life = 2000.0f;
    const float z = p.position[2];
    dust.update(100.0f);
    EXPECT_FLOAT_EQ(p.position[2], z - 10.0f);
    EXPECT_EQ(p.life, 1900.0f);
    for (int i = 0; i < 19; ++i) dust.update(100.0f);
    EXPECT_EQ(p.lifetimesLeft, 998);
    EXPECT_GE(p.life, 2000.0f) << "a fresh lifetime";
    for (int axis = 0; axis < 3; ++axis) EXPECT_LE(std::abs(p.position[axis]), 10.0f);
}

TEST_F(Particles, SparksSlowDownAsTheyFade) {
    ParticleSystem sparks(sparkTuning);
    sparks.emit(risingSpark, 1, 0, 0, 0, 1, 1, 1);
    Particle& p = sparks.particles[0];
    p.life = 1500.0f;
    p.velocity[0] = 0.02f, p.velocity[1] = 0.0f, p.velocity[2] = 0.0f;
    sparks.update(10.0f);
    EXPECT_FLOAT_EQ(p.position[0], 0.1f);  // half of velocity times step
    p.life = 5.0f;
    sparks.update(10.0f);
    EXPECT_EQ(p.lifetimesLeft, 0) << "sparks live once";
    const float x = p.position[0];
    sparks.update(10.0f);
    EXPECT_EQ(p.position[0], x) << "a free slot does not move";
}

TEST_F(Particles, LifetimesComeFromTheTuning) {
    ParticleTuning shortLived = sparkTuning;
    shortLived.shortestLifeMs = 100, shortLived.lifeSpreadMs = 10;
    ParticleSystem sparks(shortLived);
    sparks.emit(spark, 200, 0, 0, 0, 1, 1, 1);
    ParticleTuning longLived = dustTuning;
    longLived.shortestLifeMs = 7000, longLived.lifeSpreadMs = 1;
    ParticleSystem dust(longLived);
    dust.emit(boxDust, 200, 1, 1, 1, 0, 0, 0);
    int spread = 0;
    for (int i = 0; i < 200; ++i) {
        EXPECT_GE(sparks.particles[i].life, 100.0f);
        EXPECT_LT(sparks.particles[i].life, 110.0f);
        spread += sparks.particles[i].life != sparks.particles[0].life;
        EXPECT_EQ(dust.particles[i].life, 7000.0f);
    }
    EXPECT_GT(spread, 0) << "the lifetimes spread over the range";
}

TEST_F(Particles, TheSlowDownComesFromTheTuning) {
    ParticleTuning tuning = sparkTuning;
    tuning.slowDownMs = 1500.0f;
    ParticleSystem sparks(tuning);
    tuning.slowDownMs = 0.0f;
    ParticleSystem steady(tuning);
    for (ParticleSystem* system : {&sparks, &steady}) {
        system->emit(risingSpark, 1, 0, 0, 0, 1, 1, 1);
        Particle& p = system->particles[0];
        p.life = 750.0f;
        p.velocity[0] = 0.02f, p.velocity[1] = 0.0f, p.velocity[2] = 0.0f;
        system->update(10.0f);
    }
    EXPECT_FLOAT_EQ(sparks.particles[0].position[0], 0.1f) << "half speed with half of slowDownMs left";
    EXPECT_FLOAT_EQ(steady.particles[0].position[0], 0.2f) << "no slow-down: velocity times step";
}

// The last expiry respawns as every other does: the slot is free afterwards, but the sequence has
// moved on by a start's draws, which every later particle of the show depends on.
TEST_F(Particles, TheLastExpiryStillDrawsANewStart) {
    ParticleSystem sparks(sparkTuning);
    sparks.emit(spark, 1, 0, 0, 0, 1, 1, 1);
    ParticleSystem dust(dustTuning);
    dust.emit(boxDust, 1, 1, 1, 1, 0, 0, 0);
    dust.particles[0].lifetimesLeft = 1;
    struct Case {
        ParticleSystem* system;
        int draws;
    } cases[] = {{&sparks, 7}, {&dust, 4}};
    for (const Case& c : cases) {
        Particle& p = c.system->particles[0];
        p.life = 5.0f;
        const std::uint32_t before = randomSequenceState();
        c.system->update(10.0f);
        EXPECT_EQ(p.lifetimesLeft, 0);
        EXPECT_GT(p.life, 0.0f) << "a new lifetime drawn for a free slot";
        const std::uint32_t after = randomSequenceState();
        restoreRandomSequence(before);
        for (int i = 0; i < c.draws; ++i) nextRandom();
        EXPECT_EQ(randomSequenceState(), after) << c.draws << " draws";
        const float x = p.position[0];
        c.system->update(10.0f);
        EXPECT_EQ(p.position[0], x) << "and then it rests";
        EXPECT_EQ(randomSequenceState(), after) << "drawing no more";
    }
}

TEST_F(Particles, SparkColourFadesTowardsGrey) {
    const std::unique_ptr<ParticleSystem> system = sparkInTheMiddle(sparkTuning);
    ParticleSystem& sparks = *system;
    sparks.particles[0].life = 1000.0f;
    glEnable(GL_LIGHTING);
    sparks.draw();
    EXPECT_FALSE(glIsEnabled(GL_LIGHTING));
    EXPECT_EQ(currentMaterial, nullptr);
    EXPECT_PRED3(near, pixelAt(16, 16, 32), (Rgba{255, 153, 0, 128}), 1);
    EXPECT_EQ(pixelAt(1, 1, 32), (Rgba{0, 0, 0, 0})) << "the unit quad covers only the middle";

    sparks.particles[0].life = 500.0f;  // halfway to grey 0.2, alpha 0.25
    sparks.draw();
    EXPECT_PRED3(near, pixelAt(16, 16, 32), (Rgba{153, 102, 26, 64}), 1);
}

TEST_F(Particles, TheFadeComesFromTheTuning) {
    ParticleTuning tuning = sparkTuning;
    tuning.fadeMs = 500.0f, tuning.fadeGrey = 0.4f, tuning.fadeAlpha = 1.0f;
    const std::unique_ptr<ParticleSystem> system = sparkInTheMiddle(tuning);
    ParticleSystem& sparks = *system;
    sparks.particles[0].life = 500.0f;  // t = 1: the colour itself, alpha fadeAlpha
    sparks.draw();
    EXPECT_PRED3(near, pixelAt(16, 16, 32), (Rgba{255, 153, 0, 255}), 1);

    sparks.particles[0].life = 250.0f;  // halfway to grey 0.4, alpha 0.5
    sparks.draw();
    EXPECT_PRED3(near, pixelAt(16, 16, 32), (Rgba{179, 128, 51, 128}), 1);
}

TEST_F(Particles, SpritesSitAtTheirPositionsUnderTheModelview) {
    const int target = offscreenTarget(32, 32);
    bindRenderTarget(target);
    glClearColor(0, 0, 0, 0);
    clearBuffers(GL_COLOR_BUFFER_BIT);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(-2, 2, -2, 2, -5, 5);  // 8 pixels a unit
    resetModelview();
    translate(0.5f, 0, 0);
    rotate(60, 0, 1, 0);  // the sprite ignores the turn but not its effect on the positions
    setBlendMode(BlendMode::Off);
    const int white = createEmptyTexture(1, 1);
    glBindTexture(GL_TEXTURE_2D, textureNames[white]);
    const unsigned char texel[4] = {255, 255, 255, 255};
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, 1, 1, 0, GL_RGBA, GL_UNSIGNED_BYTE, texel);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
    Material& sprite = builtInMaterial(Sprite);
    setTextureSlot(sprite.findTexture("texture"), white);
    setUniformValue(sprite.findUniform("radius"), 0.5f, 0, 0, 0);

    ParticleSystem dust(dustTuning);
    dust.setMaterial(&sprite);
    dust.emit(boxDust, 2, 1, 1, 1, 0, 0, 0);
    const float positions[2][3] = {{0, 1, 0}, {2, -1, 0}};  // x turned by 60 degrees: 1 unit
    for (int i = 0; i < 2; ++i)
        for (int k = 0; k < 3; ++k) dust.particles[i].position[k] = positions[i][k];
    glColor4f(0, 1, 0, 1);
    dust.draw();
    const Rgba green{0, 255, 0, 255}, empty{0, 0, 0, 0};
    EXPECT_EQ(pixelAt(20, 8, 32), green) << "at (0.5, 1)";
    EXPECT_EQ(pixelAt(28, 24, 32), green) << "at (1.5, -1)";
    EXPECT_EQ(pixelAt(20, 16, 32), empty) << "nothing at the modelview's origin";
    EXPECT_EQ(pixelAt(23, 8, 32), green) << "half size 0.5: 4 pixels";
    EXPECT_EQ(pixelAt(25, 8, 32), empty);
}

}  // namespace
