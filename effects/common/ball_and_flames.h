// The two props several scenes carry: the ball and the pair of flames.
#pragma once

// The ball model at (x, y, z), turned by angleDegrees about the axis (not normalised; GL does
// that) and scaled uniformly. Changes no other state.
void drawBall(float x, float y, float z, float angleDegrees, float axisX, float axisY, float axisZ, float scale);

// The two flame models at (0, 0.8, -2.5) from the current matrix, added onto the picture.
// flicker, between 0.6 and 1 and jumping from frame to frame, drives their brightness and scroll.
void drawFlames(float flicker);
