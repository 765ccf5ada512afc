// Where start-up time goes: scene files, images, shader compilation, audio. Each loader marks
// its work with a ScopedPhase; time is charged to the innermost phase only, so a scene file's
// own textures and shaders count as images and shaders, not twice. Read by the capture tool's
// --bench; the show itself never looks.
#pragma once

enum class StartupPhase { SceneFiles = 0, Images = 1, Shaders = 2, Audio = 3 };
constexpr int startupPhaseCount = 4;

struct StartupPhaseTimes {
    double ms[startupPhaseCount] = {};
};

extern StartupPhaseTimes startupPhaseTimes;

// The millisecond clock the phases read (a monotonic one unless replaced; tests step their own).
using PhaseClock = double (*)();
void setStartupPhaseClock(PhaseClock clock);

class ScopedPhase {
public:
    explicit ScopedPhase(StartupPhase phase);
    ~ScopedPhase();
    ScopedPhase(const ScopedPhase&) = delete;
    ScopedPhase& operator=(const ScopedPhase&) = delete;

private:
    ScopedPhase* outer;
    int phase;
    double startMs;
};
