// Where drawing goes.
#include "render/render_destinations.h"

RenderDestinations renderDestinations;
