// The cloud flight's two kinds of sheet, both drawn with TexturedDim and the cloud texture to
// darken what lies behind them: horizontal cloud sheets and the upright, turning haze sheets.
#pragma once

// One horizontal cloud sheet centred on (x, y, z), 2 x halfSize across (a negative halfSize
// turns it half a turn). It keeps its own material while a pass has an override set, is
// depth-tested but writes no depth, and leaves blending off, back faces culled and the depth
// test on.
void drawCloudQuad(float alpha, float x, float y, float z, float halfSize);

// The haze sheets from z = 150 down to 50 that show for an eye at eyeZ at music time now, with
// their own material whatever override is set (it is put back). Depth test and culling are the
// caller's; each sheet leaves blending off.
void drawHazeSheets(float eyeZ, int now);
