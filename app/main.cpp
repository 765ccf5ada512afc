// The show: demo [width height]
#include "app/startup.h"
#include "app/window.h"

int main(int argc, char** argv) {
    if (!startShow(argc, argv, chooseWindowSize(argc, argv), true)) return 1;
    runMainLoop();
}
