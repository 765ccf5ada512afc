// The dust start: once per slot, each slot with its own flag.
#include "effects/common/dust_start.h"

#include <gtest/gtest.h>

#include "scene/particle_system.h"
#include "scene/random.h"
#include "tests/support/gl_context.h"

namespace {

int liveCount(const ParticleSystem& system) {
    int live = 0;
    for (int i = 0; i < particlePoolSize; ++i) live += system.particles[i].lifetimesLeft > 0;
    return live;
}

TEST(DustStart, OncePerSlotWithTenSecondsOfWarmUp) {
    ASSERT_TRUE(requireGlContext());
    resetRandom();
    ParticleSystem dust(dustTuning);
    DustStartFlags flags;

    startDustOnce(&dust, flags.procession);
    EXPECT_TRUE(flags.procession);
    EXPECT_FALSE(flags.cannon);
    EXPECT_EQ(liveCount(dust), 2000);
    const Particle& first = dust.particles[0];
    EXPECT_LT(first.lifetimesLeft, 999) << "ten seconds outlast a first lifetime (2 to 5 s)";
    EXPECT_EQ(first.velocity[2], -0.1f);
    EXPECT_EQ(first.a, 200);
    EXPECT_EQ(first.c, 500);
    const float z = first.position[2];

    startDustOnce(&dust, flags.procession);
    EXPECT_EQ(liveCount(dust), 2000) << "a second call does nothing";
    EXPECT_EQ(dust.particles[0].position[2], z) << "and moves nothing";

    startDustOnce(&dust, flags.cannon);
    EXPECT_EQ(liveCount(dust), 4000) << "the other slot starts its own batch";
    EXPECT_NE(dust.particles[0].position[2], z) << "and warms up every particle again";
}

TEST(DustStart, WithoutASystemOnlyTheFlagIsSet) {
    bool done = false;
    startDustOnce(nullptr, done);
    EXPECT_TRUE(done);
}

}  // namespace
