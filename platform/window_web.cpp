// The show's window in a browser: a WebGL 2 context on the page's canvas, the page's keys and
// mouse, and the display callback on the browser's animation frames. Swapping is the browser's
// own, when a frame's callback returns.
#include <GL/glew.h>
#include <emscripten.h>
#include <emscripten/html5.h>

#include <cstring>

#include "base/print_line.h"
#include "platform/window_driver.h"

namespace {

constexpr const char* canvas = "#canvas";

WindowEvents events{};
EMSCRIPTEN_WEBGL_CONTEXT_HANDLE context = 0;

bool webOpen(const WindowEvents& windowEvents, int, char**, int width, int height, bool) {
    events = windowEvents;
    EmscriptenWebGLContextAttributes attributes;
    emscripten_webgl_init_context_attributes(&attributes);
    attributes.majorVersion = 2;
    attributes.minorVersion = 0;
    attributes.alpha = EM_FALSE;  // the desktop window has no alpha either
    attributes.depth = EM_TRUE;
    attributes.stencil = EM_FALSE;
    attributes.antialias = windowSamples > 1 ? EM_TRUE : EM_FALSE;
    attributes.preserveDrawingBuffer = EM_FALSE;
    emscripten_set_canvas_element_size(canvas, width, height);
    context = emscripten_webgl_create_context(canvas, &attributes);
    if (context <= 0) {
        printLine("This browser gives no WebGL 2 context (error %d): the show needs WebGL 2.", static_cast<int>(context));
        EM_ASM({
            if (Module.noWebGl2) Module.noWebGl2();
        });
        return false;
    }
    emscripten_webgl_make_context_current(context);
    if (events.reshape != nullptr) events.reshape(width, height);
    return true;
}

int mouseButton(unsigned short button) {
    if (button == 1) return windowMiddleButton;
    if (button == 2) return windowRightButton;
    return windowLeftButton;
}

EM_BOOL onMouse(int type, const EmscriptenMouseEvent* event, void*) {
    if (events.mouse == nullptr) return EM_FALSE;
    const int state = type == EMSCRIPTEN_EVENT_MOUSEDOWN ? windowButtonDown : windowButtonUp;
    events.mouse(mouseButton(event->button), state, static_cast<int>(event->targetX), static_cast<int>(event->targetY));
    return EM_FALSE;
}

void webInstallMouse() {
    emscripten_set_mousedown_callback(canvas, nullptr, EM_FALSE, onMouse);
    emscripten_set_mouseup_callback(canvas, nullptr, EM_FALSE, onMouse);
}

EM_BOOL onKey(int, const EmscriptenKeyboardEvent* event, void*) {
    constexpr struct {
        const char* key;
        WindowKey windowKey;
    } named[] = {{"ArrowLeft", WindowKey::Left}, {"ArrowRight", WindowKey::Right}, {"ArrowUp", WindowKey::Up},
                 {"ArrowDown", WindowKey::Down}, {"PageUp", WindowKey::PageUp},  {"PageDown", WindowKey::PageDown}};
    for (const auto& entry : named)
        if (std::strcmp(event->key, entry.key) == 0) {
            if (events.key != nullptr) events.key(entry.windowKey);
            return EM_TRUE;
        }
    if (events.keyboard == nullptr) return EM_FALSE;
    if (std::strcmp(event->key, "Escape") == 0) {
        events.keyboard(27, 0, 0);
        return EM_TRUE;
    }
    // Keys with one plain character; the browser's own shortcuts keep working.
    if (event->ctrlKey || event->altKey || event->metaKey) return EM_FALSE;
    if (std::strlen(event->key) == 1 && static_cast<unsigned char>(event->key[0]) < 128) {
        events.keyboard(static_cast<unsigned char>(event->key[0]), 0, 0);
        return EM_TRUE;
    }
    return EM_FALSE;
}

void webInstallKeyboard() {
    emscripten_set_keydown_callback(EMSCRIPTEN_EVENT_TARGET_DOCUMENT, nullptr, EM_FALSE, onKey);
}

void webSwap() { glFlush(); }  // the layer's waiting draws go out before the browser shows the frame

void webPumpEvents() {}

void webRunLoop() { emscripten_set_main_loop(events.display, 0, 1); }

void webClose() {
    emscripten_cancel_main_loop();
    EM_ASM({
        if (Module.showEnded) Module.showEnded();
    });
}

void webSetTitle(const char* title) {
    EM_ASM({ document.title = UTF8ToString($0); }, title);
}

bool webPosition(int&, int&) { return false; }
void webPlaceNext(int, int) {}
void webDrawText(const char*) {}  // no bitmap font in the page's GL
void webTextSize(const char*, int& width, int& descent, int& ascent) { width = descent = ascent = 0; }

}  // namespace

const WindowDriver webWindowDriver = {
    .name = "web",
    .open = webOpen,
    .installMouse = webInstallMouse,
    .installKeyboard = webInstallKeyboard,
    .swap = webSwap,
    .pumpEvents = webPumpEvents,
    .runLoop = webRunLoop,
    .close = webClose,
    .setTitle = webSetTitle,
    .position = webPosition,
    .placeNext = webPlaceNext,
    .drawText = webDrawText,
    .textSize = webTextSize,
};

const WindowDriver& showWindowDriver() { return webWindowDriver; }
