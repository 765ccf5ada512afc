// The frame clock that steps the show without the music (the capture tool, a jump to a start
// time, the authoring mode's seeks): the music time of frame i, round(i * 1000 / fps) ms.
#pragma once

int frameTimeMs(int frame, int fps);

// The first frame of that clock whose time is at or after ms (0 for ms <= 0).
int firstFrameAtOrAfter(int ms, int fps);
