// The window layer's driver on EGL: the screen is an off-screen pbuffer of the window's size, so
// the show renders without any display, on a GPU where EGL offers one.
#include "platform/window_driver.h"

#include <EGL/egl.h>
#include <EGL/eglext.h>
#include <GL/gl.h>

#include <algorithm>
#include <cstring>
#include <span>
#include <vector>

#include "base/print_line.h"

namespace {

struct EglScreen {
    EGLDisplay display = EGL_NO_DISPLAY;
    EGLSurface surface = EGL_NO_SURFACE;
    EGLContext context = EGL_NO_CONTEXT;
};
EglScreen eglScreen;
WindowEvents events = {};

// The same fetch for every extension entry point: null when the EGL library lacks it.
template <typename Function>
Function eglEntry(const char* name) {
    return reinterpret_cast<Function>(eglGetProcAddress(name));
}

bool hasExtension(const char* list, const char* name) {
    if (list == nullptr) return false;
    const std::size_t length = std::strlen(name);
    for (const char* at = std::strstr(list, name); at != nullptr; at = std::strstr(at + 1, name)) {
        if ((at == list || at[-1] == ' ') && (at[length] == ' ' || at[length] == '\0')) return true;
    }
    return false;
}

struct EglDevice {
    EGLDeviceEXT device;
    bool software;
};

// Every device EGL knows, GPUs first; none without the device platform.
std::vector<EglDevice> eglDevices() {
    std::vector<EglDevice> devices;
    if (!hasExtension(eglQueryString(EGL_NO_DISPLAY, EGL_EXTENSIONS), "EGL_EXT_platform_device")) return devices;
    const auto queryDevices = eglEntry<PFNEGLQUERYDEVICESEXTPROC>("eglQueryDevicesEXT");
    const auto queryDeviceString = eglEntry<PFNEGLQUERYDEVICESTRINGEXTPROC>("eglQueryDeviceStringEXT");
    if (queryDevices == nullptr || queryDeviceString == nullptr) return devices;
    EGLDeviceEXT found[16];
    EGLint count = 0;
    if (!queryDevices(16, found, &count)) return devices;
    for (EGLint i = 0; i < count && i < 16; ++i) {
        // Mesa marks its CPU renderer; whatever is not marked is taken for a GPU.
        const bool software = hasExtension(queryDeviceString(found[i], EGL_EXTENSIONS), "EGL_MESA_device_software");
        devices.push_back({found[i], software});
    }
    std::stable_partition(devices.begin(), devices.end(), [](const EglDevice& d) { return !d.software; });
    return devices;
}

EGLint configAttribute(EGLDisplay display, EGLConfig config, EGLint attribute) {
    EGLint value = 0;
    eglGetConfigAttrib(display, config, attribute, &value);
    return value;
}

// A pbuffer config like the GLUT window's visual: 8-bit RGB (EGL ranks deeper and shallower
// colour first, which draws and reads slower and rounds differently), depth, windowSamples when
// there are multisampled configs. Among those, one without alpha as the window has none.
bool chooseConfig(EGLDisplay display, EGLConfig& chosen) {
    const bool single = windowSamples <= 1;
    const EGLint multisampled[] = {windowSamples, 0};  // then none where no config has samples
    const EGLint none[] = {0};
    const auto tries = single ? std::span<const EGLint>(none) : std::span<const EGLint>(multisampled);
    for (const EGLint samples : tries) {
        const EGLint wanted[] = {EGL_SURFACE_TYPE, EGL_PBUFFER_BIT, EGL_RENDERABLE_TYPE, EGL_OPENGL_BIT,
                                 EGL_RED_SIZE, 8, EGL_GREEN_SIZE, 8, EGL_BLUE_SIZE, 8, EGL_DEPTH_SIZE, 24,
                                 EGL_SAMPLE_BUFFERS, samples > 0 ? 1 : 0, EGL_SAMPLES, samples, EGL_NONE};
        EGLConfig configs[64];
        EGLint count = 0;
        if (!eglChooseConfig(display, wanted, configs, 64, &count)) continue;
        int best = -1;
        for (int i = 0; i < count && i < 64; ++i) {
            const bool eightBit = configAttribute(display, configs[i], EGL_RED_SIZE) == 8 &&
                                  configAttribute(display, configs[i], EGL_GREEN_SIZE) == 8 &&
                                  configAttribute(display, configs[i], EGL_BLUE_SIZE) == 8;
            if (!eightBit) continue;
            // EGL_SAMPLE_BUFFERS 0 means at least none: multisampled configs match too
            if (single && configAttribute(display, configs[i], EGL_SAMPLE_BUFFERS) != 0) continue;
            if (best < 0) best = i;
            if (configAttribute(display, configs[i], EGL_ALPHA_SIZE) == 0) {
                best = i;
                break;
            }
        }
        if (best >= 0) {
            chosen = configs[best];
            return true;
        }
    }
    return false;
}

void closeEglScreen() {
    if (eglScreen.display == EGL_NO_DISPLAY) return;
    eglMakeCurrent(eglScreen.display, EGL_NO_SURFACE, EGL_NO_SURFACE, EGL_NO_CONTEXT);
    eglTerminate(eglScreen.display);
    eglReleaseThread();
    eglScreen = EglScreen();
}

// A compatibility context (the default: the highest version that keeps the old pipeline) on a
// pbuffer of the window's size, made current.
bool openOn(EGLDisplay display, int width, int height) {
    if (display == EGL_NO_DISPLAY || !eglInitialize(display, nullptr, nullptr)) return false;
    eglScreen.display = display;
    EGLConfig config = nullptr;
    const EGLint size[] = {EGL_WIDTH, width, EGL_HEIGHT, height, EGL_NONE};
    if (chooseConfig(display, config) && eglBindAPI(EGL_OPENGL_API)) {
        eglScreen.context = eglCreateContext(display, config, EGL_NO_CONTEXT, nullptr);
        eglScreen.surface = eglCreatePbufferSurface(display, config, size);
        if (eglScreen.context != EGL_NO_CONTEXT && eglScreen.surface != EGL_NO_SURFACE &&
            eglMakeCurrent(display, eglScreen.surface, eglScreen.surface, eglScreen.context))
            return true;
    }
    closeEglScreen();
    return false;
}

bool openEglScreen(const WindowEvents& windowEvents, int, char**, int width, int height, bool) {
    events = windowEvents;
    const auto platformDisplay = eglEntry<PFNEGLGETPLATFORMDISPLAYEXTPROC>("eglGetPlatformDisplayEXT");
    const char* where = nullptr;
    if (platformDisplay != nullptr) {
        for (const EglDevice& device : eglDevices()) {
            if (openOn(platformDisplay(EGL_PLATFORM_DEVICE_EXT, device.device, nullptr), width, height)) {
                where = device.software ? "EGL software device" : "EGL GPU device";
                break;
            }
        }
        if (where == nullptr &&
            hasExtension(eglQueryString(EGL_NO_DISPLAY, EGL_EXTENSIONS), "EGL_MESA_platform_surfaceless") &&
            openOn(platformDisplay(EGL_PLATFORM_SURFACELESS_MESA, EGL_DEFAULT_DISPLAY, nullptr), width, height))
            where = "EGL surfaceless platform";
    }
    if (where == nullptr) {
        printLine("EGL: no device and no surfaceless platform gives an OpenGL context with a %dx%d pbuffer.", width,
                  height);
        return false;
    }
    const auto glText = [](GLenum name) {
        const auto* text = reinterpret_cast<const char*>(glGetString(name));
        return text != nullptr ? text : "unknown";
    };
    printLine("%s: %s, OpenGL %s", where, glText(GL_RENDERER), glText(GL_VERSION));
    return true;
}

void runEglLoop() {
    for (;;) events.display();
}

}  // namespace

// Off-screen: no input, no title, no place on a screen and no font; a pbuffer has no front buffer
// to show, so the frame stays where it was drawn and read.
const WindowDriver eglWindowDriver = {
    .name = "egl", .open = openEglScreen, .runLoop = runEglLoop, .close = closeEglScreen};

bool eglHasGpuDevice() {
    for (const EglDevice& device : eglDevices())
        if (!device.software) return true;
    return false;
}

const WindowDriver& offscreenWindowDriver() { return eglWindowDriver; }
