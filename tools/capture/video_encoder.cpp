// The ffmpeg child process of the capture tool.
#include "tools/capture/video_encoder.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <vector>

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
    const std::string extension = fs::path(job.outPath).extension().string();
    if (extension != ".mkv" && extension != ".MKV") {
        args.push_back("-movflags");
        args.push_back("+faststart");
    }
    args.push_back(job.outPath);
    return args;
}

}  // namespace

std::string findOnPath(const char* name) {
    const char* path = std::getenv("PATH");
    if (path == nullptr) return {};
    const std::string folders = path;
    std::size_t start = 0;
    while (start <= folders.size()) {
        std::size_t colon = folders.find(':', start);
        if (colon == std::string::npos) colon = folders.size();
        const std::string folder = folders.substr(start, colon - start);
        const std::string candidate = (folder.empty() ? std::string(".") : folder) + "/" + name;
        std::error_code error;
        if (access(candidate.c_str(), X_OK) == 0 && fs::is_regular_file(candidate, error)) return candidate;
        start = colon + 1;
    }
    return {};
}

std::string partialPath(const std::string& finalPath) {
    const fs::path file(finalPath);
    const std::string extension = file.extension().string();
    std::string name(1, '.');
    name += file.filename().string();
    name += ".partial";
    name += extension;
    return (file.parent_path() / name).string();
}

bool startVideoEncoder(const VideoJob& job, VideoEncoder& encoder, std::string& error) {
    const std::vector<std::string> args = ffmpegArguments(job);
    std::vector<char*> argv;
    for (const std::string& arg : args) argv.push_back(const_cast<char*>(arg.c_str()));
    argv.push_back(nullptr);

    int fds[2];
    if (pipe2(fds, O_CLOEXEC) != 0) {
        error = std::string("cannot make a pipe to ffmpeg: ") + std::strerror(errno);
        return false;
    }
    const pid_t pid = fork();
    if (pid < 0) {
        error = std::string("cannot start ffmpeg: ") + std::strerror(errno);
        close(fds[0]);
        close(fds[1]);
        return false;
    }
    if (pid == 0) {
        // An ignored SIGPIPE would survive exec.
        signal(SIGPIPE, SIG_DFL);
        if (dup2(fds[0], STDIN_FILENO) < 0) _exit(127);
        execv(argv[0], argv.data());
        std::fprintf(stderr, "demo-capture: cannot run %s: %s\n", argv[0], std::strerror(errno));
        _exit(127);
    }
    close(fds[0]);
    encoder.pid = pid;
    encoder.input = fds[1];
    return true;
}

bool writeVideoFrame(VideoEncoder& encoder, const unsigned char* rgb, std::size_t bytes, std::string& error) {
    while (bytes > 0) {
        const ssize_t written = write(encoder.input, rgb, bytes);
        if (written < 0) {
            if (errno == EINTR) continue;
            error = errno == EPIPE ? std::string("ffmpeg stopped taking frames")
                                   : std::string("cannot send a frame to ffmpeg: ") + std::strerror(errno);
            return false;
        }
        rgb += written;
        bytes -= static_cast<std::size_t>(written);
    }
    return true;
}

namespace {

// Waits for ffmpeg and describes how it ended; empty when it succeeded.
std::string waitForEncoder(VideoEncoder& encoder) {
    if (encoder.pid < 0) return "ffmpeg is not running";
    int status = 0;
    pid_t waited;
    do waited = waitpid(encoder.pid, &status, 0);
    while (waited < 0 && errno == EINTR);
    encoder.pid = -1;
    if (waited < 0) return std::string("cannot wait for ffmpeg: ") + std::strerror(errno);
    if (WIFEXITED(status) && WEXITSTATUS(status) == 0) return {};
    if (WIFSIGNALED(status)) return "ffmpeg was killed by signal " + std::to_string(WTERMSIG(status));
    return "ffmpeg failed with status " + std::to_string(WEXITSTATUS(status));
}

void closeInput(VideoEncoder& encoder) {
    if (encoder.input >= 0) close(encoder.input);
    encoder.input = -1;
}

}  // namespace

bool finishVideoEncoder(VideoEncoder& encoder, std::string& error) {
    closeInput(encoder);
    error = waitForEncoder(encoder);
    return error.empty();
}

void abortVideoEncoder(VideoEncoder& encoder) {
    closeInput(encoder);
    if (encoder.pid > 0) kill(encoder.pid, SIGTERM);
    if (encoder.pid > 0) waitForEncoder(encoder);
}
