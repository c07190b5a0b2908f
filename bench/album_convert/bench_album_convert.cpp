// Album picture conversion: 50 photos of 4000 x 3000 (JPEG quality 92) converted by ConvertAlbumPicture
// and by ImageMagick's `convert -resize 640x480 -quality 100`, one picture per iteration; each benchmark
// reports its per-picture median of wall and CPU time (the CPU time of `convert` is its child process's),
// and the ratios are printed at the end. A third benchmark builds the whole album of the 50 photos
// (conversion, movie, deletion of the converted files) and reports the time per picture.
//
//   bench_album_convert [benchmark flags]   the comparison
//   bench_album_convert --memory [N]        N conversions (default 1000, cycling over the 50 photos) in
//                                           one process, then the peak resident memory of that run
//   bench_album_convert --album-memory [N]  one album of N pictures (default 1000, links to the 50
//                                           photos), then the peak resident memory of that build
#include "album/photo_album.h"
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
#include <sys/resource.h>
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
        vips::VImage rgb =
            vips::VImage::bandjoin({red + noise, green + noise, blue - noise}).cast(VIPS_FORMAT_UCHAR);
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

// CPU time (user + system) of this process and of its waited-for children, in milliseconds: the
// machine is shared, so wall time alone says little.
double CpuMs() {
    double total = 0;
    for (int who : {RUSAGE_SELF, RUSAGE_CHILDREN}) {
        rusage usage{};
        getrusage(who, &usage);
        total += (usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) * 1000.0 +
                 (usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1000.0;
    }
    return total;
}

struct Medians {
    double wall_ms = 0;
    double cpu_ms = 0;
};

// Runs `convert_one` on the next picture in every iteration and records each picture's time.
template <typename Convert>
void TimePictures(benchmark::State& state, const std::vector<fs::path>& pictures, Medians& medians,
                  Convert convert_one) {
    std::vector<double> times;
    std::vector<double> cpu;
    size_t next = 0;
    for (auto _ : state) {
        const double cpu_start = CpuMs();
        const auto start = std::chrono::steady_clock::now();
        convert_one(pictures[next++ % pictures.size()]);
        const std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
        state.SetIterationTime(took.count());
        times.push_back(took.count() * 1000);
        cpu.push_back(CpuMs() - cpu_start);
    }
    medians = {Median(times), Median(cpu)};
    state.counters["median_ms"] = medians.wall_ms;
    state.counters["median_cpu_ms"] = medians.cpu_ms;
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

// A folder of `count` pictures, each a link to one of the photos (so 1,000 pictures take no disk space).
fs::path LinkedFolder(const std::vector<fs::path>& pictures, int count) {
    const fs::path folder = fs::temp_directory_path() / ("cardwright-bench-album-" + std::to_string(count));
    fs::remove_all(folder);
    fs::create_directories(folder);
    for (int i = 0; i < count; ++i) {
        char name[32];
        std::snprintf(name, sizeof name, "p%05d.jpg", i);
        fs::create_symlink(pictures[static_cast<size_t>(i) % pictures.size()], folder / name);
    }
    return folder;
}

album::AlbumOutcome BuildAlbum(const fs::path& folder) {
    const fs::path out = folder.string() + ".swf";
    album::AlbumOutcome outcome = album::CreatePhotoAlbum(folder, out, fs::temp_directory_path());
    if (!outcome.unreadable.empty()) {
        std::fprintf(stderr, "the album skipped pictures\n");
        std::exit(1);
    }
    fs::remove(out);
    return outcome;
}

int RunAlbumMemory(int count) {
    const std::vector<fs::path> pictures = MakePictures();
    const fs::path folder = LinkedFolder(pictures, count);
    std::ofstream("/proc/self/clear_refs") << "5";
    const long before = PeakRssKb();
    const double cpu_start = CpuMs();
    const auto start = std::chrono::steady_clock::now();
    const album::AlbumOutcome outcome = BuildAlbum(folder);
    const std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
    const long peak = PeakRssKb();
    std::printf(
        "album of %d pictures (%d in the movie, %zu left out, %d frames): %.1f s wall, %.1f s CPU; peak "
        "resident memory %.1f MB (%.1f MB before the build)\n",
        count, outcome.pictures, outcome.leftOut.size(), outcome.frames, took.count(),
        (CpuMs() - cpu_start) / 1000, peak / 1024.0, before / 1024.0);
    fs::remove_all(folder);
    return 0;
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
    if (argc >= 2 && std::strcmp(argv[1], "--album-memory") == 0) {
        return RunAlbumMemory(argc >= 3 ? std::atoi(argv[2]) : 1000);
    }
    const std::vector<fs::path> pictures = MakePictures();
    Medians ours_ms;
    Medians magick_ms;
    Medians album_ms;
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
    // The whole album of the 50 photos per iteration; its time divided by 50 is the time per picture.
    benchmark::RegisterBenchmark("CreatePhotoAlbum/50x4000x3000",
                                 [&](benchmark::State& state) {
                                     const fs::path folder = LinkedFolder(pictures, kPictures);
                                     std::vector<double> times;
                                     std::vector<double> cpu;
                                     for (auto _ : state) {
                                         const double cpu_start = CpuMs();
                                         const auto start = std::chrono::steady_clock::now();
                                         BuildAlbum(folder);
                                         const std::chrono::duration<double> took =
                                             std::chrono::steady_clock::now() - start;
                                         state.SetIterationTime(took.count());
                                         times.push_back(took.count() * 1000 / kPictures);
                                         cpu.push_back((CpuMs() - cpu_start) / kPictures);
                                     }
                                     album_ms = {Median(times), Median(cpu)};
                                     state.counters["per_picture_ms"] = album_ms.wall_ms;
                                     state.counters["per_picture_cpu_ms"] = album_ms.cpu_ms;
                                     fs::remove_all(folder);
                                 })
        ->Iterations(3)
        ->UseManualTime()
        ->Unit(benchmark::kMillisecond);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    if (ours_ms.wall_ms > 0 && magick_ms.wall_ms > 0) {
        std::printf("per-picture medians, wall: ConvertAlbumPicture %.1f ms, convert %.1f ms, ratio %.2fx\n",
                    ours_ms.wall_ms, magick_ms.wall_ms, magick_ms.wall_ms / ours_ms.wall_ms);
        std::printf("per-picture medians, CPU:  ConvertAlbumPicture %.1f ms, convert %.1f ms, ratio %.2fx\n",
                    ours_ms.cpu_ms, magick_ms.cpu_ms, magick_ms.cpu_ms / ours_ms.cpu_ms);
    }
    if (album_ms.wall_ms > 0 && magick_ms.wall_ms > 0) {
        std::printf("whole album per picture: %.1f ms wall (%.2fx convert), %.1f ms CPU (%.2fx convert)\n",
                    album_ms.wall_ms, magick_ms.wall_ms / album_ms.wall_ms, album_ms.cpu_ms,
                    magick_ms.cpu_ms / album_ms.cpu_ms);
    }
    return 0;
}
