// The background picker opened on a sample folder of 200 photos of 4000 x 3000 (MakePhoto):
//   DialogShown       construction to the dialog shown, thumbnail cache empty (thumbnails still coming)
//   ThumbnailsFirst   construction to every thumbnail in place, cache empty (plain photos, and camera
//                     photos with a 160 x 120 thumbnail in their EXIF data, embedded by exiftool)
//   ThumbnailsCached  the same with every thumbnail in the cache (a second opening)
// Each repetition is one opening; the medians are what count. The photos are made once (16 distinct
// pictures, the rest hard links to them under other names, so each is its own cache entry) and kept in
// the temp folder between runs.
// libvips (through glib) comes before Qt, whose `signals` keyword would clash with a glib field name.
#include <vips/vips8>

#include "dialogs/dlg_add_bg.h"
#include "imaging/picture.h"
#include "imaging/thumbnail.h"

#include <QApplication>
#include <QEventLoop>
#include <QListWidget>

#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <sys/resource.h>

namespace {

namespace fs = std::filesystem;

constexpr int kPhotos = 200;
constexpr int kDistinct = 16;

struct BenchFolders {
    fs::path data;
    fs::path work;
};

// A photo as a camera saves it: smooth gradients and ripples for the scene, texture at a few scales and
// a little sensor noise in the brightness only (cameras smooth away colour noise), stored with the chroma
// halved both ways (4:2:0) at quality 90: about 3.4 MB, like a 12-megapixel photo. Random noise in every
// channel at full chroma resolution would make the file far slower to decode than any camera's.
void MakePhoto(const fs::path& path, int i) {
    using vips::VImage;
    const int w = 4000;
    const int h = 3000;
    const auto noise = [](int width, int height, double sigma) {
        return VImage::gaussnoise(width, height, VImage::option()->set("sigma", sigma)->set("mean", 0.0));
    };
    // Noise drawn at 1/`factor` of the size and enlarged: blobs about `factor` pixels across.
    const auto texture = [&](int factor, double sigma) {
        return noise((w + factor - 1) / factor, (h + factor - 1) / factor, sigma)
            .resize(factor, VImage::option()->set("kernel", VIPS_KERNEL_CUBIC))
            .crop(0, 0, w, h);
    };
    const VImage detail = texture(16, 14.0) + texture(4, 8.4) + texture(2, 10.0) + noise(w, h, 3.0);
    const VImage xy = VImage::xyz(w, h);
    const VImage x = xy.extract_band(0);
    const VImage y = xy.extract_band(1);
    const VImage red = x * (200.0 / w) + (y * (0.004 + i * 0.0003)).sin() * 30 + 20 + detail;
    const VImage green = y * (180.0 / h) + ((x + y) * 0.01).sin() * 25 + 30 + detail;
    const VImage blue = (x * 0.002 * (i + 1)).cos() * 60 + 120 + detail;
    const VImage rgb = VImage::bandjoin({red, green, blue})
                           .cast(VIPS_FORMAT_UCHAR)
                           .copy(VImage::option()->set("interpretation", VIPS_INTERPRETATION_sRGB));
    const fs::path part = fs::path(path).concat(".part.jpg");
    rgb.jpegsave(part.c_str(),
                 VImage::option()->set("Q", 90)->set("subsample_mode", VIPS_FOREIGN_SUBSAMPLE_ON));
    fs::rename(part, path);
}

const BenchFolders& Folders() {
    static const BenchFolders folders = [] {
        // "-2": the camera-like photos (earlier runs left noisier ones under the plain name).
        const fs::path root = fs::temp_directory_path() / "cardwright-bench-add-bg-2";
        const fs::path samples = root / "data" / "Background";
        fs::create_directories(samples);
        if (VIPS_INIT("bench_dialogs") != 0) {
            std::fprintf(stderr, "libvips did not start\n");
            std::exit(1);
        }
        for (int i = 0; i < kPhotos; ++i) {
            const fs::path path = samples / ("photo" + std::to_string(i) + ".jpg");
            if (fs::exists(path)) {
                continue;
            }
            if (i < kDistinct) {
                MakePhoto(path, i);
            } else {
                fs::create_hard_link(samples / ("photo" + std::to_string(i % kDistinct) + ".jpg"), path);
            }
        }
        return BenchFolders{root / "data", root / "work"};
    }();
    return folders;
}

// The same photos as a camera writes them, each with its small picture in the EXIF data.
const BenchFolders& CameraFolders() {
    static const BenchFolders folders = [] {
        const fs::path root = fs::temp_directory_path() / "cardwright-bench-add-bg-camera-2";
        const fs::path samples = root / "data" / "Background";
        fs::create_directories(samples);
        for (int i = 0; i < kPhotos; ++i) {
            const fs::path path = samples / ("photo" + std::to_string(i) + ".jpg");
            if (fs::exists(path)) {
                continue;
            }
            if (i >= kDistinct) {
                fs::create_hard_link(samples / ("photo" + std::to_string(i % kDistinct) + ".jpg"), path);
                continue;
            }
            const fs::path plain = Folders().data / "Background" / path.filename();
            const fs::path thumb = root / "thumb.jpg";
            vips::VImage::thumbnail(plain.c_str(), 160, vips::VImage::option()->set("height", 120))
                .jpegsave(thumb.c_str());
            fs::copy_file(plain, path);
            const std::string embed = "exiftool -q -overwrite_original '-ThumbnailImage<=" + thumb.string() +
                                      "' '" + path.string() + "'";
            if (std::system(embed.c_str()) != 0) {
                std::fprintf(stderr, "exiftool could not embed a thumbnail (is it installed?)\n");
                std::exit(1);
            }
        }
        return BenchFolders{root / "data", root / "work"};
    }();
    return folders;
}

void ClearCache(const BenchFolders& folders) {
    fs::remove_all(folders.work / "Thumbnails");
}

double Seconds(std::chrono::steady_clock::time_point since) {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - since).count();
}

// CPU time of the whole process (all threads), in seconds: the machine is shared, so the wall time
// alone says little; the CPU time over two is what two idle cores would take.
double ProcessCpuSeconds() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return double(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
           double(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

// Waits on the event loop (the tiles fill in through it) until the dialog has every thumbnail.
void WaitForThumbnails(CDlgAddBg& dlg) {
    if (!dlg.ThumbnailsDone()) {
        QEventLoop loop;
        QObject::connect(&dlg, &CDlgAddBg::thumbnailsFinished, &loop, &QEventLoop::quit);
        loop.exec();
    }
    QCoreApplication::processEvents(); // the last tiles
}

void DialogShown(benchmark::State& state) {
    Folders();
    for (auto _ : state) {
        ClearCache(Folders());
        const auto start = std::chrono::steady_clock::now();
        auto dlg = std::make_unique<CDlgAddBg>(Folders().data, Folders().work);
        dlg->show();
        QCoreApplication::processEvents();
        state.SetIterationTime(Seconds(start));
        if (dlg->findChild<QListWidget*>()->count() != kPhotos) {
            state.SkipWithError("the photos are not all listed");
        }
        dlg.reset(); // waits for the thumbnails already being made
    }
}

void ThumbnailsFirst(benchmark::State& state, const BenchFolders& (*folders)()) {
    folders();
    double cpu = 0;
    for (auto _ : state) {
        ClearCache(folders());
        const double cpuStart = ProcessCpuSeconds();
        const auto start = std::chrono::steady_clock::now();
        CDlgAddBg dlg(folders().data, folders().work);
        dlg.show();
        WaitForThumbnails(dlg);
        state.SetIterationTime(Seconds(start));
        cpu += ProcessCpuSeconds() - cpuStart;
        if (dlg.ThumbnailsMade() != kPhotos) {
            state.SkipWithError("not every thumbnail was made");
        }
    }
    // Seconds of CPU per 100 photos, all threads: two idle cores take about half of it in wall time.
    state.counters["cpu_s_per_100"] =
        benchmark::Counter(cpu * 100.0 / kPhotos, benchmark::Counter::kAvgIterations);
}

// The CPU time of the process per call of `make` on one thread (libvips works on threads of its own, so
// the process's CPU time is the real cost).
template <typename Make> void CpuPerPhoto(benchmark::State& state, const Make& make) {
    const double cpuStart = ProcessCpuSeconds();
    for (auto _ : state) {
        benchmark::DoNotOptimize(make());
    }
    state.counters["cpu_ms"] =
        benchmark::Counter((ProcessCpuSeconds() - cpuStart) * 1000, benchmark::Counter::kAvgIterations);
}

// One photo's thumbnail on one thread, for the cost per photo apart from the dialog.
void OnePhoto(benchmark::State& state) {
    const fs::path photo = Folders().data / "Background" / "photo0.jpg";
    CpuPerPhoto(state, [&] { return imaging::MakeThumbnail(photo, {120, 100}); });
}

// The same photo through the general picture loader (libvips, shrink-on-load, cubic scaling), which
// made every thumbnail without an embedded one before they were decoded with libjpeg-turbo directly.
void OnePhotoGeneralLoader(benchmark::State& state) {
    const fs::path photo = Folders().data / "Background" / "photo0.jpg";
    CpuPerPhoto(state, [&] {
        return imaging::Picture::LoadAtLeast(photo, {120, 100}).Resized({120, 100}).EncodeRgba();
    });
}

// The same photo with a camera's thumbnail in its EXIF data.
void OnePhotoCamera(benchmark::State& state) {
    const fs::path photo = CameraFolders().data / "Background" / "photo0.jpg";
    CpuPerPhoto(state, [&] { return imaging::MakeThumbnail(photo, {120, 100}); });
}

void ThumbnailsCached(benchmark::State& state) {
    Folders();
    {
        CDlgAddBg warm(Folders().data, Folders().work);
        warm.show();
        WaitForThumbnails(warm);
    }
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        CDlgAddBg dlg(Folders().data, Folders().work);
        dlg.show();
        WaitForThumbnails(dlg);
        state.SetIterationTime(Seconds(start));
        if (dlg.ThumbnailsMade() != 0) {
            state.SkipWithError("thumbnails were made again");
        }
    }
}

BENCHMARK(DialogShown)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(1)->Repetitions(7);
BENCHMARK_CAPTURE(ThumbnailsFirst, plain, Folders)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1)
    ->Repetitions(3);
BENCHMARK_CAPTURE(ThumbnailsFirst, camera, CameraFolders)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1)
    ->Repetitions(3);
BENCHMARK(OnePhoto)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(10)
    ->Repetitions(3)
    ->ReportAggregatesOnly(true);
BENCHMARK(OnePhotoGeneralLoader)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(10)
    ->Repetitions(3)
    ->ReportAggregatesOnly(true);
BENCHMARK(OnePhotoCamera)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(10)
    ->Repetitions(3)
    ->ReportAggregatesOnly(true);
BENCHMARK(ThumbnailsCached)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(1)->Repetitions(7);

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM",
            qgetenv("QT_QPA_PLATFORM").isEmpty() ? "offscreen" : qgetenv("QT_QPA_PLATFORM"));
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
