// The start-up sequence.
#include "app/startup.h"

#include <algorithm>
#include <cstdlib>

#include "app/demo_state.h"
#include "app/frame_composition.h"
#include "app/music.h"
#include "app/window.h"
#include "base/print_line.h"
#include "base/startup_phases.h"
#include "effects/common/post_process.h"
#include "effects/slot_table.h"
#include "render/shader_library.h"
#include "render/texture_registry.h"

WindowSize chooseWindowSize(int argc, char** argv) {
    if (argc < 3) return {1280, 800};
    return {std::atoi(argv[1]), std::atoi(argv[2])};
}

WindowSize usableWindowSize(WindowSize requested) {
    const WindowSize usable{std::clamp(requested.windowWidth, smallestWindowSide, largestWindowSide),
                            std::clamp(requested.windowHeight, smallestWindowSide, largestWindowSide)};
    if (usable.windowWidth != requested.windowWidth || usable.windowHeight != requested.windowHeight)
        printLine("Window size %dx%d cannot be had; using %dx%d.", requested.windowWidth, requested.windowHeight,
                  usable.windowWidth, usable.windowHeight);
    return usable;
}

bool startShow(int argc, char** argv, WindowSize requested, bool fullScreen) {
    const WindowSize size = usableWindowSize(requested);
    if (!createWindow(argc, argv, size.windowWidth, size.windowHeight, fullScreen)) {
        printLine("Creating window failed!\n");
        return false;
    }
    initShaderLibrary();
    loadScenes();
    demoState.overlayTexture = loadTexture("data\\overlay.png", 1);
    loadPostScene();
    setFrameFunction(renderFrame);
    installMouseHandler();
    installKeyboardHandler();
    {
        ScopedPhase phase(StartupPhase::Audio);
        initAudio();  // the show goes on without sound
        playMusic("biisi.mp3");
        seekMusic(0);
    }
    return true;
}
