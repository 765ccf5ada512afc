// Loading the cloud flight.
#include "effects/clouds/cloud_resources.h"

#include "render/texture_registry.h"

int cloudTexture = -1;

void loadCloudScene() { cloudTexture = loadTexture("data\\cloudy2.jpg", 1); }
