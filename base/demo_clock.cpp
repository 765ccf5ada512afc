// The show's clock value.
#include "base/demo_clock.h"

DemoClock demoClock;

std::int32_t demoTimeMs() { return demoClock.musicMs; }
