// The sky ascent's stack of thin cloud layers: one textured quad 30 units across at each height
// from 100 down to 1, shown only while the eye is between 1.5 and 4 units from it.
#pragma once

// Draws the layers near eyeHeight with TexturedAlpha and the texture, each with its own alpha,
// then releases the material. Blending and the depth test are the caller's.
void drawCloudLayers(int textureIndex, float t, float eyeHeight);
