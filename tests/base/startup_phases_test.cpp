// Start-up phases: time goes to the innermost phase only, on a clock the test steps.
#include "base/startup_phases.h"

#include <gtest/gtest.h>

namespace {

double fakeNowMs = 0.0;
double fakeClock() { return fakeNowMs; }

TEST(StartupPhases, TimeIsChargedToTheInnermostPhaseOnly) {
    setStartupPhaseClock(fakeClock);
    startupPhaseTimes = {};
    fakeNowMs = 100.0;
    {
        ScopedPhase scene(StartupPhase::SceneFiles);
        fakeNowMs = 110.0;  // 10 ms reading the file
        {
            ScopedPhase image(StartupPhase::Images);
            fakeNowMs = 140.0;  // 30 ms decoding its texture
            {
                ScopedPhase shader(StartupPhase::Shaders);
                fakeNowMs = 145.0;  // 5 ms inside the image phase, charged to shaders alone
            }
            fakeNowMs = 150.0;
        }
        fakeNowMs = 170.0;  // 20 ms more of the file
    }
    {
        ScopedPhase audio(StartupPhase::Audio);
        fakeNowMs = 171.5;
    }
    setStartupPhaseClock(nullptr);
    const StartupPhaseTimes expected{{30.0, 35.0, 5.0, 1.5}};
    for (int i = 0; i < startupPhaseCount; ++i) EXPECT_DOUBLE_EQ(startupPhaseTimes.ms[i], expected.ms[i]) << i;
}

}  // namespace
