// The dust start.
#include "effects/common/dust_start.h"

#include "scene/particle_system.h"

DustStartFlags dustStartFlags;

// No slow-down, and no fade: the dust keeps its drift, and is drawn in the colour set before its
// draw (a fade is for sparks only).
const ParticleTuning dustTuning = {.shortestLifeMs = 2000,
                                   .lifeSpreadMs = 3000,
                                   .slowDownMs = 0.0f,
                                   .fadeMs = 0.0f,
                                   .fadeGrey = 0.0f,
                                   .fadeAlpha = 0.0f};

namespace {

constexpr int dustCount = 2000;
constexpr int warmUpSteps = 100;
constexpr float warmUpStepMs = 100.0f;

}  // namespace

void startDustOnce(ParticleSystem* dust, bool& done) {
    if (done) return;
    done = true;
    if (dust == nullptr) return;
    // A box 400 x 200 x 1000 around the eye, drifting towards -z.
    dust->emit(boxDust, dustCount, 200, 100, 500, 0, 0, -0.1f);
    for (int i = 0; i < warmUpSteps; ++i) dust->update(warmUpStepMs);
}
