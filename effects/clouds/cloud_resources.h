// What only the cloud flight loads: the sheets' texture.
#pragma once

extern int cloudTexture;  // -1 until loaded

// Start-up, after the cannon: the cloud sheets' texture.
void loadCloudScene();
