// Encoding the captured frames into a video: raw RGB frames piped to ffmpeg, which muxes them with
// the stretch of the music that belongs to them. The video is written under a temporary name
// beside the final one, so an unfinished run never leaves a file under the final name.
#pragma once

#include <cstddef>
#include <string>

#include "platform/pipe_process.h"

struct VideoJob {
    std::string ffmpeg;        // the ffmpeg executable
    std::string audioFile;     // the music
    std::string outPath;       // where ffmpeg writes (the temporary name)
    int width = 0;
    int height = 0;
    int fps = 0;
    int firstFrame = 0;        // frame clock index of the first frame: where the music starts
    int frames = 0;
};

struct VideoEncoder {
    PipeProcess ffmpeg;
};

// The temporary name beside finalPath: folder/.NAME.partial.EXT, the extension kept for ffmpeg.
std::string partialPath(const std::string& finalPath);

// Starts ffmpeg on the job. Expects the stop signals caught (catchStopSignals), so that a dead
// ffmpeg shows as a write error.
bool startVideoEncoder(const VideoJob& job, VideoEncoder& encoder, std::string& error);

// One frame of width * height * 3 bytes, rows bottom-up as OpenGL reads them.
bool writeVideoFrame(VideoEncoder& encoder, const unsigned char* rgb, std::size_t bytes, std::string& error);

// Ends the input and waits for ffmpeg; false when it failed.
bool finishVideoEncoder(VideoEncoder& encoder, std::string& error);

// Stops ffmpeg without waiting for it to finish the file, and waits for it to exit.
void abortVideoEncoder(VideoEncoder& encoder);
