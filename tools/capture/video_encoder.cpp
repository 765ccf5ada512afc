// The ffmpeg child of the capture tool: its command line, the frames piped to it.
#include "tools/capture/video_encoder.h"

#include <cstdio>
#include <filesystem>
#include <vector>

#include "base/utf8_path.h"

namespace fs = std::filesystem;

namespace {

std::string secondsText(double seconds) {
    char text[32];
    std::snprintf(text, sizeof text, "%.6f", seconds);
    return text;
}

std::vector<std::string> ffmpegArguments(const VideoJob& job) {
    const std::string fps = std::to_string(job.fps);
    // The frame clock's frame k is at k / fps s exactly (before rounding to ms), so the music
    // starts there and lasts as long as the frames do.
    const std::string start = secondsText(static_cast<double>(job.firstFrame) / job.fps);
    const std::string duration = secondsText(static_cast<double>(job.frames) / job.fps);
    std::vector<std::string> args = {
        job.ffmpeg, "-hide_banner", "-loglevel", "error", "-nostdin", "-y",
        "-f", "rawvideo", "-pix_fmt", "rgb24", "-video_size",
        std::to_string(job.width) + "x" + std::to_string(job.height), "-framerate", fps, "-i", "pipe:0"};
    // The music's stretch, or silence where there is no music to use.
    const std::vector<std::string> music = {"-ss", start, "-t", duration, "-i", job.audioFile};
    const std::vector<std::string> silence = {"-f", "lavfi", "-t", duration, "-i", "anullsrc=r=44100:cl=stereo"};
    const auto& audio = job.audioFile.empty() ? silence : music;
    args.insert(args.end(), audio.begin(), audio.end());
    const std::vector<std::string> rest = {
        "-map", "0:v:0", "-map", "1:a:0",
        // OpenGL reads rows bottom-up; x264 wants even sides for 4:2:0
        "-vf", "vflip,pad=ceil(iw/2)*2:ceil(ih/2)*2",
        // veryfast at CRF 16 gives the PSNR of fast at 18 for half the encoder's time, which on a
        // small machine is time taken from rendering; the file grows by about a tenth
        "-c:v", "libx264", "-preset", "veryfast", "-crf", "16", "-pix_fmt", "yuv420p", "-r", fps,
        // a music file shorter than the stretch is padded with silence up to the video's end
        "-af", "apad", "-c:a", "aac", "-b:a", "192k", "-t", duration};
    args.insert(args.end(), rest.begin(), rest.end());
    const std::string extension = utf8Path(job.outPath).extension().string();
    if (extension != ".mkv" && extension != ".MKV") {
        args.push_back("-movflags");
        args.push_back("+faststart");
    }
    args.push_back(job.outPath);
    return args;
}

}  // namespace

std::string partialPath(const std::string& finalPath) {
    const fs::path file = utf8Path(finalPath);
    const std::string extension = file.extension().string();
    std::string name(1, '.');
    name += file.filename().string();
    name += ".partial";
    name += extension;
    return (file.parent_path() / name).string();
}

bool startVideoEncoder(const VideoJob& job, VideoEncoder& encoder, std::string& error) {
    return startPipeProcess(ffmpegArguments(job), "ffmpeg", encoder.ffmpeg, error);
}

bool writeVideoFrame(VideoEncoder& encoder, const unsigned char* rgb, std::size_t bytes, std::string& error) {
    return writePipeProcess(encoder.ffmpeg, rgb, bytes, "ffmpeg", error);
}

bool finishVideoEncoder(VideoEncoder& encoder, std::string& error) {
    closePipeInput(encoder.ffmpeg);
    error = waitPipeProcess(encoder.ffmpeg, "ffmpeg");
    return error.empty();
}

void abortVideoEncoder(VideoEncoder& encoder) {
    closePipeInput(encoder.ffmpeg);
    if (encoder.ffmpeg.process == 0) return;
    stopPipeProcess(encoder.ffmpeg);
    waitPipeProcess(encoder.ffmpeg, "ffmpeg");
}
