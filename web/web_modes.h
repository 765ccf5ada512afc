// What the page can ask of the show besides playing it: frames at music times on the frame
// clock, handed to the page as the capture tool writes them, and the frame-time benchmark.
#pragma once

#include <vector>

// Steps every frame from 0 on the fps frame clock and hands the page each wanted one
// (Module.captureFrame), with the state fingerprint before it; Module.captureDone at the end.
[[noreturn]] void runWebCapture(const std::vector<int>& atMs, int fps);

// Draws the whole show on the fps frame clock, timing each frame up to the end of its GL work,
// and prints the capture tool's benchmark table; Module.benchDone gets it too.
[[noreturn]] void runWebBench(int fps, double startupMs);
