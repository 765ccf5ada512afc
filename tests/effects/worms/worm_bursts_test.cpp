// The worms' bursts: each worm's sparks start once, from its own system, at its own place.
#include "effects/worms/worm_bursts.h"

#include <gtest/gtest.h>

#include <memory>
#include <set>

#include "effects/worms/worm_resources.h"
#include "scene/particle_system.h"
#include "tests/support/gl_context.h"

namespace {

int liveCount(const ParticleSystem& system) {
    int live = 0;
    for (int i = 0; i < particlePoolSize; ++i) live += system.particles[i].lifetimesLeft > 0;
    return live;
}

TEST(WormBursts, EachWormBurstsOnceFromItsOwnSystem) {
    ASSERT_TRUE(requireGlContext());
    std::unique_ptr<ParticleSystem> systems[wormSparkSystemCount];
    for (int i = 0; i < wormSparkSystemCount; ++i) {
        systems[i] = std::make_unique<ParticleSystem>(wormSparkTuning);
        wormSparkSystems[i] = systems[i].get();
    }
    std::set<int> used;
    for (const WormSpec& worm : wormTable) used.insert(worm.sparkSystem);
    EXPECT_EQ(used.size(), static_cast<std::size_t>(wormCount)) << "no two worms share sparks";

    // Worm 5 finds its system emitted already: it is guarded by that, not by a flag of its own.
    systems[5]->emitted = true;
    // Worm 3's own flag is set: its system is not looked at.
    wormBurstFlags.done[2] = true;

    struct Row {
        int worm, system, live;
        float x, z;
    };
    const Row rows[] = {{0, 0, 800, 15, 120}, {1, 1, 800, 40, 220},  {2, 2, 0, -20, 330}, {3, 4, 800, -10, 410},
                        {4, 5, 0, -10, 450},  {5, 6, 800, -10, 490}, {6, 3, 800, 60, 520}};
    for (int round = 0; round < 2; ++round) {
        for (const Row& row : rows) burstWormOnce(row.worm);
        burstWormOnce(-1);
        burstWormOnce(wormCount);
        for (const Row& row : rows) {
            SCOPED_TRACE(testing::Message() << "round " << round << ", worm " << row.worm + 1);
            const ParticleSystem& sparks = *systems[row.system];
            EXPECT_EQ(liveCount(sparks), row.live);
            if (row.live == 0) continue;
            const Particle& p = sparks.particles[0];
            EXPECT_EQ(p.kind, risingSpark);
            EXPECT_EQ(p.a, row.x);
            EXPECT_EQ(p.b, 0);
            EXPECT_EQ(p.c, row.z);
            EXPECT_EQ(p.d, 1);
            EXPECT_EQ(p.e, 0.6f);
            EXPECT_EQ(p.f, 0.1f);
        }
    }
    for (int unused : {7, 8, 9}) EXPECT_EQ(liveCount(*systems[unused]), 0);
}

}  // namespace
