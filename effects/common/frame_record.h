// What a slot's draw is handed for one frame, by the slot table: the music time it stands for, the
// step of the frame clock since the frame before (what the particles advance by) and whether its
// pixels are drawn.
//
// The projection of a frame's first target bind uses the field of view the previous frame's camera
// wrote, because the bind comes before the scene computes its camera; on a slot's first frame that
// is the slot before's last one. The state carries it, so a seek lands on the same value.
#pragma once

#include <cstdint>

#include "effects/common/scene_run.h"

struct FrameRecord {
    std::int32_t timeMs;
    float stepMs;
    SceneRun run;
};
