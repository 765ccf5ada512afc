// Deterministic noise for the procedural images and meshes: integer hashing, value noise that can
// repeat after a whole number of lattice cells, fractal sums of it and cellular (Voronoi) noise.
#pragma once

#include <cstdint>

std::uint32_t hashBits(std::uint32_t x);

// A value in [0, 1) for a lattice point and a seed.
float latticeValue(int x, int y, std::uint32_t seed);

// Smoothly interpolated lattice values. A period above 0 wraps the lattice in that direction, so
// the noise repeats every period units.
float valueNoise(float x, float y, std::uint32_t seed, int periodX = 0, int periodY = 0);

// Sum of octaves, each at twice the frequency (and period) and half the amplitude of the one
// before; scaled back into [0, 1].
float fractalNoise(float x, float y, int octaves, std::uint32_t seed, int periodX = 0, int periodY = 0);

// Distance to the nearest of one jittered point per lattice cell (about 0 to 1.2), and the
// second nearest; wraps like valueNoise.
struct CellDistances {
    float nearest;
    float second;
};
CellDistances cellNoise(float x, float y, std::uint32_t seed, int periodX = 0, int periodY = 0);

float clamp01(float v);
float smoothStep(float edge0, float edge1, float x);
float mixf(float a, float b, float t);
