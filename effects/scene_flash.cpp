// The flashes handed between frames.
#include "effects/scene_flash.h"

SceneFlashes sceneFlashes;
