// The flame procession.
#include "effects/procession.h"

void drawProcessionScene(int) {}
