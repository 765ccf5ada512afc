// The landscape the procession, the worms and the cannon stand in: the sky dome and the mountain
// ring centred on a point, and the terrain tile repeated along z around it.
#pragma once

// Draws the dome and mountains centred at (x, y, z) and seven terrain tiles, every 123 units
// along z, around the tile under z. phase drives the sky's and the terrain's slow animation.
void drawLandscape(float phase, float x, float y, float z);

// The terrain tile index under z: z / 123 truncated toward zero.
int terrainTileIndex(float z);
