// Opens the show's window for GL tests.
#include "tests/support/gl_context.h"

#include "app/window.h"

bool requireGlContext(int width, int height) {
    static const bool ready = [&] {
        static char name[] = "demo_tests";
        static char* argv[] = {name, nullptr};
        return createWindow(1, argv, width, height, false);
    }();
    return ready;
}
