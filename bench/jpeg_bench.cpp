// JPEG decoding speed: our decoder against libjpeg-turbo on the same files, one thread each.
// libjpeg-turbo runs as the tests compare against it: float IDCT, no fancy upsampling, RGBA
// output like ours. The ratio ours / libjpeg-turbo is the counter vs_libjpeg of our benchmark
// and is printed again at the end of the run.
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdio>
#include <map>
#include <string>

#include <jpeglib.h>

#include "image/jpeg_decoder.h"
#include "tests/support/jpeg_reference.h"

namespace {

struct BenchFile {
    const char* label;
    Bytes bytes;
    int width;
    int height;
};

BenchFile makeFile(const char* label, int width, int height, ChromaSampling sampling) {
    EncodeOptions options;
    options.quality = 90;
    options.sampling = sampling;
    return {label, encodeWithLibjpeg(makePhotoPicture(width, height, 3, 42), options), width, height};
}

const BenchFile& file420() {
    static const BenchFile file = makeFile("4:2:0 2048x2048", 2048, 2048, ChromaSampling::s420);
    return file;
}

const BenchFile& file444() {
    static const BenchFile file = makeFile("4:4:4 1024x1024", 1024, 1024, ChromaSampling::s444);
    return file;
}

// Pixels per second of each decoder per file, from the latest run; printed when the program ends.
struct Summary {
    std::map<std::string, double> libjpeg, ours;
    ~Summary() {
        for (const auto& [label, rate] : ours) {
            const auto reference = libjpeg.find(label);
            if (reference == libjpeg.end()) continue;
            std::printf("JPEG %s: ours %.1f Mpixel/s, libjpeg-turbo %.1f Mpixel/s, ratio %.2f\n", label.c_str(),
                        rate / 1e6, reference->second / 1e6, rate / reference->second);
        }
    }
};
Summary summary;

void decodeWithLibjpegInto(const Bytes& file, std::vector<unsigned char>& rgba) {
    jpeg_decompress_struct info;
    jpeg_error_mgr errors;
    info.err = jpeg_std_error(&errors);
    jpeg_create_decompress(&info);
    jpeg_mem_src(&info, file.data(), static_cast<unsigned long>(file.size()));
    jpeg_read_header(&info, TRUE);
    info.out_color_space = JCS_EXT_RGBA;
    info.dct_method = JDCT_FLOAT;
    info.do_fancy_upsampling = FALSE;
    jpeg_start_decompress(&info);
    const std::size_t rowBytes = static_cast<std::size_t>(info.output_width) * 4;
    rgba.resize(rowBytes * info.output_height);
    while (info.output_scanline < info.output_height) {
        JSAMPROW rows[16];
        for (int i = 0; i < 16; ++i) rows[i] = rgba.data() + (info.output_scanline + i) * rowBytes;
        const JDIMENSION left = info.output_height - info.output_scanline;
        jpeg_read_scanlines(&info, rows, left < 16 ? left : 16);
    }
    jpeg_finish_decompress(&info);
    jpeg_destroy_decompress(&info);
}

template <typename Decode>
double run(benchmark::State& state, const BenchFile& file, Decode decode) {
    std::vector<unsigned char> pixels;
    decode(pixels);  // the first decode allocates; the timed ones reuse the buffer
    const auto start = std::chrono::steady_clock::now();
    for (auto _ : state) {
        decode(pixels);
        benchmark::DoNotOptimize(pixels.data());
        benchmark::ClobberMemory();
    }
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    const double pixelCount = static_cast<double>(file.width) * file.height;
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * pixelCount * 4));
    state.counters["pixels"] = benchmark::Counter(pixelCount, benchmark::Counter::kIsIterationInvariantRate);
    state.SetLabel(file.label);
    return seconds > 0 ? state.iterations() * pixelCount / seconds : 0.0;
}

void libjpegTurbo(benchmark::State& state, const BenchFile& (*which)()) {
    const BenchFile& file = which();
    summary.libjpeg[file.label] = run(state, file, [&](std::vector<unsigned char>& pixels) {
        decodeWithLibjpegInto(file.bytes, pixels);
    });
}

void ours(benchmark::State& state, const BenchFile& (*which)()) {
    const BenchFile& file = which();
    const double rate = run(state, file, [&](std::vector<unsigned char>& pixels) {
        int width = 0, height = 0;
        if (!decodeJpegMemory(file.bytes.data(), file.bytes.size(), file.label, pixels, width, height))
            state.SkipWithError("decode failed");
    });
    summary.ours[file.label] = rate;
    const auto reference = summary.libjpeg.find(file.label);
    if (reference != summary.libjpeg.end() && reference->second > 0)
        state.counters["vs_libjpeg"] = rate / reference->second;
}

// The reference of each file runs first so that our run can report the ratio.
BENCHMARK_CAPTURE(libjpegTurbo, s420_2048, file420)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(ours, s420_2048, file420)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(libjpegTurbo, s444_1024, file444)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(ours, s444_1024, file444)->Unit(benchmark::kMillisecond);

}  // namespace
