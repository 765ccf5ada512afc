// The page around the show in a browser: what the web program tells it and hands it, the
// browser's animation frames and the page's clock (the web build only).
#pragma once

// Calls step on every animation frame of the browser from now on, in place of the window's
// display callback; does not return (the browser's event loop runs on).
[[noreturn]] void runOnAnimationFrames(void (*step)());
void stopAnimationFrames();

// Milliseconds of the page's monotonic clock (performance.now).
double pageNowMs();

enum class PageEvent { ShowStarted, BadOptions, CaptureDone };
void tellPage(PageEvent event);

// A frame for the driving script: its file name, the capture tool's line after it, and its RGB
// rows, bottom first.
void handFrameToPage(const char* name, const char* line, const unsigned char* rgb, int width, int height);

// The benchmark's table, when it is done.
void handBenchToPage(const char* table);
