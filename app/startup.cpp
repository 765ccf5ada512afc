// The start-up sequence.
#include "app/startup.h"

#include <cstdlib>

#include "app/music.h"
#include "app/print_line.h"
#include "app/timeline.h"
#include "app/window.h"
#include "app/demo_state.h"
#include "image/texture_registry.h"
#include "render/shader_library.h"
#include "xsi/xsi_reader.h"

WindowSize chooseWindowSize(int argc, char** argv) {
    if (argc < 3) return {1280, 800};
    return {std::atoi(argv[1]), std::atoi(argv[2])};
}

bool startShow(int argc, char** argv, WindowSize size, bool fullScreen) {
    if (!createWindow(argc, argv, size.width, size.height, fullScreen)) {
        printLine("Creating window failed!\n");
        return false;
    }
    initShaderLibrary();
    demoState.overlayTexture = loadTexture("data\\overlay.png", 1);
    loadXsiScene("data\\postproc.XSI", demoState.postScene);
    setFrameFunction(renderFrame);
    installMouseHandler();
    installKeyboardHandler();
    initAudio();  // the show goes on without sound
    playMusic("biisi.mp3");
    seekMusic(0);
    return true;
}
