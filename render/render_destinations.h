// Where drawing goes: the camera's view matrix, the field of view of every projection and the
// render target bound last. The camera and the target binding write them; the passes that draw
// into the current destination and the scene lights read them.
#pragma once

struct RenderDestinations {
    // The modelview matrix right after the last setCamera, column-major: lights are placed in
    // world space by loading it again.
    float viewMatrix[16] = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};
    float fieldOfView = 90.0f;  // degrees; the scenes set it, every target bind uses it
    int currentTarget = 0;      // index given to the last bindRenderTarget
};

extern RenderDestinations renderDestinations;
