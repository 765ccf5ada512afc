// The screen of a window layer at 640x360: a full-screen quad drawn into it (4 samples) and its
// read-back as 8-bit RGB, the two things the capture tool does to it every frame. One layer per
// process: DEMO_BENCH_WINDOW=egl takes the EGL pbuffer, anything else the GLUT window (which
// needs a display); the two are compared by runs made one after the other.
#include <benchmark/benchmark.h>

#include <GL/glew.h>

#include <cstdlib>
#include <cstring>
#include <vector>

#include "app/window.h"

namespace {

constexpr int screenWidth = 640, screenHeight = 360;

bool openScreen() {
    static const bool ready = [] {
        const char* layer = std::getenv("DEMO_BENCH_WINDOW");
        setWindowDriver(layer != nullptr && std::strcmp(layer, "egl") == 0 ? &eglWindowDriver : &glutWindowDriver);
        static char name[] = "demo_bench";
        static char* argv[] = {name, nullptr};
        if (!createWindow(1, argv, screenWidth, screenHeight, false)) return false;
        pumpWindowEvents();
        glViewport(0, 0, screenWidth, screenHeight);
        return true;
    }();
    return ready;
}

void drawScreenQuad() {
    glClearColor(0.1f, 0.2f, 0.3f, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glBegin(GL_QUADS);
    glColor3f(1.0f, 0.5f, 0.25f);
    glVertex2f(-1.0f, -1.0f);
    glColor3f(0.0f, 1.0f, 0.0f);
    glVertex2f(1.0f, -1.0f);
    glVertex2f(1.0f, 1.0f);
    glColor3f(0.0f, 0.0f, 1.0f);
    glVertex2f(-1.0f, 1.0f);
    glEnd();
}

void BM_ScreenQuad(benchmark::State& state) {
    if (!openScreen()) {
        state.SkipWithError("no window or no OpenGL 2.0");
        return;
    }
    for (auto _ : state) {
        drawScreenQuad();
        glFinish();
    }
}
BENCHMARK(BM_ScreenQuad)->Unit(benchmark::kMillisecond);

void BM_ScreenReadBack(benchmark::State& state) {
    if (!openScreen()) {
        state.SkipWithError("no window or no OpenGL 2.0");
        return;
    }
    drawScreenQuad();
    glFinish();
    std::vector<unsigned char> pixels(static_cast<std::size_t>(screenWidth) * screenHeight * 3);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    for (auto _ : state) {
        glReadPixels(0, 0, screenWidth, screenHeight, GL_RGB, GL_UNSIGNED_BYTE, pixels.data());
        benchmark::DoNotOptimize(pixels.data());
    }
}
BENCHMARK(BM_ScreenReadBack)->Unit(benchmark::kMillisecond);

}  // namespace
