// Start-up time by phase, charged to the innermost one.
#include "base/startup_phases.h"

#include <chrono>

StartupPhaseTimes startupPhaseTimes;

namespace {

ScopedPhase* innermost = nullptr;

double steadyMs() {
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now().time_since_epoch()).count();
}

PhaseClock nowMs = steadyMs;

}  // namespace

void setStartupPhaseClock(PhaseClock clock) { nowMs = clock != nullptr ? clock : steadyMs; }

ScopedPhase::ScopedPhase(StartupPhase phase) : outer(innermost), phase(static_cast<int>(phase)), startMs(nowMs()) {
    // The outer phase stops counting while this one runs.
    if (outer != nullptr) startupPhaseTimes.ms[outer->phase] += startMs - outer->startMs;
    innermost = this;
}

ScopedPhase::~ScopedPhase() {
    const double endMs = nowMs();
    startupPhaseTimes.ms[phase] += endMs - startMs;
    innermost = outer;
    if (outer != nullptr) outer->startMs = endMs;
}
