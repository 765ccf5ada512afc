// The capture tool's reference switch.
#include "effects/common/scene_run.h"

bool drawUnseenRuns = false;
