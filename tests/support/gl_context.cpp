// Opens the show's window for GL tests.
#include "tests/support/gl_context.h"

#include <GL/glew.h>

#include <cstdlib>
#include <map>
#include <utility>

#include "app/window.h"
#include "base/window_size.h"
#include "render/render_target.h"
#include "render/shader_library.h"

bool requireGlContext(int width, int height) {
    static const bool ready = [&] {
        static char name[] = "demo_tests";
        static char* argv[] = {name, nullptr};
        if (!createWindow(1, argv, width, height, false)) return false;
        // Work still queued at exit would be compiled while the window system closes the
        // display, after the shader compiler's own exit handlers have run.
        std::atexit([] { glFinish(); });
        return true;
    }();
    return ready;
}

bool requireShaderLibrary() {
    static const bool ready = [] {
        if (!requireGlContext()) return false;
        initShaderLibrary();
        return true;
    }();
    return ready;
}

int offscreenTarget(int width, int height) {
    static std::map<std::pair<int, int>, int> targets;
    auto [entry, added] = targets.try_emplace({width, height}, -1);
    if (added) entry->second = createRenderTarget(width, height, false);
    return entry->second;
}

void bindFakeWindow(int width, int height) {
    bindRenderTarget(offscreenTarget(width, height));
    windowSize.windowWidth = width;
    windowSize.windowHeight = height;
}

std::ostream& operator<<(std::ostream& out, const Rgba& c) {
    return out << "(" << c.r << ", " << c.g << ", " << c.b << ", " << c.a << ")";
}

Rgba pixelAt(int x, int yFromTop, int height) {
    unsigned char p[4] = {};
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(x, height - 1 - yFromTop, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, p);
    return {p[0], p[1], p[2], p[3]};
}

bool near(const Rgba& actual, const Rgba& expected, int tolerance) {
    return std::abs(actual.r - expected.r) <= tolerance && std::abs(actual.g - expected.g) <= tolerance &&
           std::abs(actual.b - expected.b) <= tolerance && std::abs(actual.a - expected.a) <= tolerance;
}
