// Album picture conversion: 50 photos of 4000 x 3000 (JPEG quality 92) converted by ConvertAlbumPicture
// and by ImageMagick's `convert -resize 640x480 -quality 100`, one picture per iteration; each benchmark
// reports its per-picture median, and the ratio is printed at the end.
//
//   bench_album_convert [benchmark flags]   the comparison
//   bench_album_convert --memory [N]        N conversions (default 1000, cycling over the 50 photos) in
//                                           one process, then the peak resident memory of that run
#include "imaging/convert.h"

#include <benchmark/benchmark.h>
#include <vips/vips8>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

constexpr int kPictures = 50;

// Photo-like pictures: smooth gradients, a ripple and some sensor noise, so that the JPEGs are about as
// large and as slow to decode as real photos of that size. Made once and kept in the temp folder.
std::vector<fs::path> MakePictures() {
    const fs::path folder = fs::temp_directory_path() / "cardwright-bench-album";
    fs::create_directories(folder);
    if (VIPS_INIT("bench_album_convert") != 0) {
        std::fprintf(stderr, "libvips did not start\n");
        std::exit(1);
    }
    std::vector<fs::path> paths;
    for (int i = 0; i < kPictures; ++i) {
        const fs::path path = folder / ("photo" + std::to_string(i) + ".jpg");
        paths.push_back(path);
        if (fs::exists(path)) {
            continue;
        }
        const int w = 4000;
        const int h = 3000;
        vips::VImage xy = vips::VImage::xyz(w, h);
        vips::VImage x = xy.extract_band(0);
        vips::VImage y = xy.extract_band(1);
        vips::VImage red = x * (200.0 / w) + (y * (0.004 + i * 0.0003)).sin() * 30 + 20;
        vips::VImage green = y * (180.0 / h) + ((x + y) * 0.01).sin() * 25 + 30;
        vips::VImage blue = (x * 0.002 * (i + 1)).cos() * 60 + 120;
        vips::VImage noise = vips::VImage::gaussnoise(w, h, vips::VImage::option()->set("sigma", 6.0));
        vips::VImage rgb = (red + noise).bandjoin({green + noise, blue - noise}).cast(VIPS_FORMAT_UCHAR);
        rgb = rgb.copy(vips::VImage::option()->set("interpretation", VIPS_INTERPRETATION_sRGB));
        rgb.jpegsave(path.c_str(), vips::VImage::option()->set("Q", 92));
    }
    return paths;
}

double Median(std::vector<double> values) {
    if (values.empty()) {
        return 0;
    }
    std::sort(values.begin(), values.end());
    const size_t mid = values.size() / 2;
    return values.size() % 2 ? values[mid] : (values[mid - 1] + values[mid]) / 2;
}

// Runs `convert_one` on the next picture in every iteration and records each picture's time.
template <typename Convert>
void TimePictures(benchmark::State& state, const std::vector<fs::path>& pictures, double& median_ms,
                  Convert convert_one) {
    std::vector<double> times;
    size_t next = 0;
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        convert_one(pictures[next++ % pictures.size()]);
        const std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
        state.SetIterationTime(took.count());
        times.push_back(took.count() * 1000);
    }
    median_ms = Median(times);
    state.counters["median_ms"] = median_ms;
}

void ConvertWithOurs(const fs::path& picture) {
    const imaging::AlbumPicture result =
        imaging::ConvertAlbumPicture(picture, 640, 480, fs::temp_directory_path());
    if (!result.converted || result.size != imaging::Size{640, 480}) {
        std::fprintf(stderr, "conversion of %s went wrong\n", picture.c_str());
        std::exit(1);
    }
    fs::remove(result.file);
}

void ConvertWithImageMagick(const fs::path& picture) {
    const std::string command =
        "convert '" + picture.string() + "' -resize 640x480 -quality 100 '" + picture.string() + ".im.jpg'";
    if (std::system(command.c_str()) != 0) {
        std::fprintf(stderr, "convert failed on %s\n", picture.c_str());
        std::exit(1);
    }
    fs::remove(picture.string() + ".im.jpg");
}

long PeakRssKb() {
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.rfind("VmHWM:", 0) == 0) {
            return std::atol(line.c_str() + 6);
        }
    }
    return -1;
}

int RunMemory(int conversions) {
    const std::vector<fs::path> pictures = MakePictures();
    // Making the pictures is not part of the measurement: reset the peak to the current size.
    std::ofstream("/proc/self/clear_refs") << "5";
    const long before = PeakRssKb();
    for (int i = 0; i < conversions; ++i) {
        ConvertWithOurs(pictures[static_cast<size_t>(i) % pictures.size()]);
    }
    const long peak = PeakRssKb();
    std::printf(
        "%d conversions of 4000 x 3000 JPEGs: peak resident memory %.1f MB (%.1f MB before the run)\n",
        conversions, peak / 1024.0, before / 1024.0);
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    if (argc >= 2 && std::strcmp(argv[1], "--memory") == 0) {
        return RunMemory(argc >= 3 ? std::atoi(argv[2]) : 1000);
    }
    const std::vector<fs::path> pictures = MakePictures();
    double ours_ms = 0;
    double magick_ms = 0;
    benchmark::RegisterBenchmark(
        "ConvertAlbumPicture/4000x3000",
        [&](benchmark::State& state) { TimePictures(state, pictures, ours_ms, ConvertWithOurs); })
        ->Iterations(kPictures)
        ->UseManualTime()
        ->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark(
        "ImageMagickConvert/4000x3000",
        [&](benchmark::State& state) { TimePictures(state, pictures, magick_ms, ConvertWithImageMagick); })
        ->Iterations(kPictures)
        ->UseManualTime()
        ->Unit(benchmark::kMillisecond);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    if (ours_ms > 0 && magick_ms > 0) {
        std::printf("per-picture medians: ConvertAlbumPicture %.1f ms, convert %.1f ms, ratio %.2fx\n",
                    ours_ms, magick_ms, magick_ms / ours_ms);
    }
    return 0;
}
