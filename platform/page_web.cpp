// The page's side of the web program: Module's hooks, which page.js defines.
#include "platform/page_web.h"

#include <emscripten.h>

void runOnAnimationFrames(void (*step)()) {
    emscripten_cancel_main_loop();
    emscripten_set_main_loop(step, 0, 1);
    __builtin_unreachable();  // emscripten unwinds to the event loop instead of returning
}

void stopAnimationFrames() { emscripten_cancel_main_loop(); }

double pageNowMs() { return emscripten_get_now(); }

void tellPage(PageEvent event) {
    switch (event) {
        case PageEvent::ShowStarted: EM_ASM({ if (Module.showStarted) Module.showStarted(); }); break;
        case PageEvent::BadOptions: EM_ASM({ if (Module.badOptions) Module.badOptions(); }); break;
        case PageEvent::CaptureDone: EM_ASM({ if (Module.captureDone) Module.captureDone(); }); break;
    }
}

void handFrameToPage(const char* name, const char* line, const unsigned char* rgb, int width, int height) {
    EM_ASM({ Module.captureFrame(UTF8ToString($0), UTF8ToString($1), HEAPU8.subarray($2, $2 + $3 * $4 * 3), $3, $4); },
           name, line, rgb, width, height);
}

void handBenchToPage(const char* table) {
    EM_ASM({ if (Module.benchDone) Module.benchDone(UTF8ToString($0)); }, table);
}
