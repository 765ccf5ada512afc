// The scenes' start-up loading, in the one order the texture indices depend on.
#pragma once

// After the shader library: the sky (its texture, then the shared models, textures and dust), the
// procession's sparks, the ball, the worms, the cannon, the cloud flight.
void loadScenes();
