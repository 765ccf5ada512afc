// DemoState: the one run-time record of the show, its fields grouped by the code that owns them.
#pragma once

#include <cstdint>

struct SceneNode;

using FrameFunction = void (*)();

// The render-target index that stands for the window's own framebuffer.
constexpr int screenTarget = 99999;

struct DemoState {
    // Window and input (window layer).
    int windowWidth = 0;
    int windowHeight = 0;
    FrameFunction frameFunction = nullptr;
    std::uint8_t keyState[256] = {};
    std::uint8_t leftButtonDown = 0;
    std::uint8_t rightButtonDown = 0;
    std::uint8_t leftButtonReleased = 0;
    std::uint8_t rightButtonReleased = 0;

    // Music clock (music.cpp).
    std::int32_t musicMs = 0;
    std::int32_t previousMusicMs = 0;
    float frameSeconds = 0.0f;

    // Start-up resources.
    int overlayTexture = -1;
    SceneNode* postScene = nullptr;  // the post-processing materials' scene, kept for the whole run

    // Camera and render destinations (render/).
    float viewMatrix[16] = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};
    float fieldOfView = 90.0f;
    int currentTarget = 0;

    // Flashes handed from one frame's scene to the next frame's passes.
    float sceneFlash = 0.0f;
    float sceneFlashAccumulator = 0.0f;
};

extern DemoState demoState;
