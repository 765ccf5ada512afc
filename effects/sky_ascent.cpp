// The sky ascent.
#include "effects/sky_ascent.h"

void drawSkyAscentScene() {}
