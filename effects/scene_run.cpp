// The capture tool's reference switch.
#include "effects/scene_run.h"

bool drawUnseenRuns = false;
