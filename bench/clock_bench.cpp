// Costs of the per-frame helpers that scenes call many times a frame.
#include <benchmark/benchmark.h>

#include "base/envelopes.h"
#include "scene/matrix.h"

namespace {

// The beat search walks the grid from 0, so its cost grows along the show.
void beatFlashLateInShow(benchmark::State& state) {
    std::int32_t t = 200000;
    for (auto _ : state) {
        benchmark::DoNotOptimize(beatFlashAt(t));
        t = t == 209999 ? 200000 : t + 1;
    }
}
BENCHMARK(beatFlashLateInShow);

void nodeTransformComposition(benchmark::State& state) {
    Matrix4 scale, rx, ry, rz, translation;
    scale.setScale(1.0f, 2.0f, 3.0f);
    rx.setRotationX(0.3f);
    ry.setRotationY(0.5f);
    rz.setRotationZ(0.7f);
    translation.setTranslation(1.0f, 2.0f, 3.0f);
    for (auto _ : state) {
        Matrix4 m = scale;
        m.multiply(rx);
        m.multiply(ry);
        m.multiply(rz);
        m.multiply(translation);
        benchmark::DoNotOptimize(m);
    }
}
BENCHMARK(nodeTransformComposition);

}  // namespace
