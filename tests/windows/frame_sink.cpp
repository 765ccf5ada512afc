// Stands in for ffmpeg.exe in scripts/test-windows.sh, where no Windows ffmpeg can be had: reads
// the raw frames the capture tool pipes to its standard input and writes how many bytes came into
// the output file (its last argument), so that the pipe, the exit status and the rename of the
// partial file are tested. With FRAME_SINK_TAKE=N it stops reading after N bytes and fails, as an
// encoder that gives up does.
#include <cstdio>
#include <cstdlib>
#include <string>

#include <fcntl.h>
#include <io.h>

int main(int argc, char** argv) {
    if (argc < 2) return 2;
    _setmode(_fileno(stdin), _O_BINARY);
    const char* take = std::getenv("FRAME_SINK_TAKE");
    const long long limit = take != nullptr ? std::atoll(take) : -1;
    long long total = 0;
    char buffer[65536];
    for (std::size_t got; (got = std::fread(buffer, 1, sizeof buffer, stdin)) > 0;) {
        total += static_cast<long long>(got);
        if (limit >= 0 && total >= limit) {
            std::fprintf(stderr, "frame sink: stopping after %lld bytes\n", total);
            return 1;
        }
    }
    std::FILE* out = std::fopen(argv[argc - 1], "w");
    if (out == nullptr) return 1;
    std::fprintf(out, "%lld\n", total);
    return std::fclose(out) == 0 ? 0 : 1;
}
