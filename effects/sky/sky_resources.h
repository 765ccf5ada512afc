// What only the sky ascent loads.
#pragma once

extern int cloudLayerTexture;  // the cloud layers; -1 until loaded

// Start-up, after the shader library: the cloud texture, then the shared scenes (which the sky is
// the first to draw). The procession's sparks are created right after it.
void loadSkyAscentScene();
