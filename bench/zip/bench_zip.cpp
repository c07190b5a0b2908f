// The zip writer against Info-ZIP on a 200 MB folder of mixed files: text, already-compressed pictures
// (JPEG) and random bytes, at the default level, with and without a password, on one thread and on
// two. The folder is generated once and kept (CW_BENCH_ZIP_DIR, default a folder under the system's
// temporary folder). After the runs a table gives each variant's median and its speed relative to
// Info-ZIP `zip -r` under the same password.
//
//     bench_zip [--benchmark_repetitions=N]
#include "publish/locked_zip.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <random>
#include <string>
#include <sys/resource.h>
#include <vector>

namespace {

namespace fs = std::filesystem;

constexpr const char* kPassword = "bench password";
constexpr const char* kStamp = ".complete-v1";

void write_file(const fs::path& path, const std::string& content) {
    std::ofstream out(path, std::ios::binary);
    out << content;
    if (!out) {
        throw std::runtime_error("cannot write " + path.string());
    }
}

std::string text(std::size_t size, std::mt19937& random) {
    static const char* const kWords[] = {
        "the",    "gift",   "card",  "happy", "birthday", "friend", "music",  "button", "score",    "picture",
        "frame",  "movie",  "with",  "from",  "to",       "and",    "season", "wishes", "greeting", "comment",
        "author", "please", "click", "next",  "holiday",  "photo",  "album",  "of",     "a",        "you"};
    std::string s;
    s.reserve(size + 32);
    while (s.size() < size) {
        s += kWords[random() % std::size(kWords)];
        const unsigned r = random() % 100;
        s += r < 6 ? ".\n" : r < 12 ? ", " : r < 14 ? std::to_string(random() % 10000) + " " : " ";
    }
    s.resize(size);
    return s;
}

std::string random_bytes(std::size_t size, std::mt19937& random) {
    std::string s(size, '\0');
    for (char& c : s) {
        c = char(random());
    }
    return s;
}

// About 80 MB of text, 70 MB of JPEG pictures and 50 MB of random bytes in nested folders.
fs::path bench_folder() {
    const char* configured = std::getenv("CW_BENCH_ZIP_DIR");
    const fs::path root = configured ? fs::path(configured) : fs::temp_directory_path() / "cw-bench-zip";
    const fs::path folder = root / "gift files";
    if (fs::exists(root / kStamp)) {
        return folder;
    }
    std::fprintf(stderr, "Generating the 200 MB folder in %s ...\n", folder.c_str());
    fs::remove_all(root);
    std::mt19937 random(2026);
    fs::create_directories(folder / "texts" / "letters");
    fs::create_directories(folder / "pictures" / "holiday");
    fs::create_directories(folder / "data");
    std::size_t total = 0;
    for (int i = 0; total < (80u << 20); ++i) {
        const std::size_t size = 20000 + random() % (3u << 20);
        write_file(folder / "texts" / (i % 2 ? "letters" : "") / ("text" + std::to_string(i) + ".txt"),
                   text(size, random));
        total += size;
    }
    // A few distinct photographs-like pictures, each copied under several names.
    std::vector<fs::path> originals;
    for (int i = 0; i < 6; ++i) {
        const fs::path picture = root / ("original" + std::to_string(i) + ".jpg");
        const std::string command = "convert -size 3000x2250 -seed " + std::to_string(i + 1) +
                                    " plasma:fractal -quality 92 '" + picture.string() + "'";
        if (std::system(command.c_str()) != 0) {
            throw std::runtime_error("ImageMagick convert failed");
        }
        originals.push_back(picture);
    }
    total = 0;
    for (int i = 0; total < (70u << 20); ++i) {
        const fs::path& original = originals[i % originals.size()];
        fs::copy_file(original, folder / "pictures" / (i % 3 ? "holiday" : "") /
                                    ("photo" + std::to_string(i) + ".jpg"));
        total += fs::file_size(original);
    }
    total = 0;
    for (int i = 0; total < (50u << 20); ++i) {
        const std::size_t size = 100000 + random() % (8u << 20);
        write_file(folder / "data" / ("blob" + std::to_string(i) + ".bin"), random_bytes(size, random));
        total += size;
    }
    write_file(root / kStamp, "");
    return folder;
}

std::uint64_t folder_bytes(const fs::path& folder) {
    std::uint64_t total = 0;
    for (const auto& entry : fs::recursive_directory_iterator(folder)) {
        if (entry.is_regular_file()) {
            total += entry.file_size();
        }
    }
    return total;
}

// Wall-clock seconds and processor seconds (all threads, or the child process) of each run.
struct Timings {
    std::map<std::string, std::vector<double>> wall;
    std::map<std::string, std::vector<double>> cpu;
};

double cpu_seconds(int who) {
    rusage usage{};
    getrusage(who, &usage);
    return double(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
           double(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

void run_cardwright(benchmark::State& state, const fs::path& folder, unsigned threads, bool locked,
                    Timings& timings, const std::string& name) {
    const fs::path archive = folder.parent_path() / ("cardwright-" + std::to_string(threads) + ".zip");
    for (auto _ : state) {
        const double cpu_start = cpu_seconds(RUSAGE_SELF);
        const auto start = std::chrono::steady_clock::now();
        const auto messages = publish::BuildLockedZip(archive, folder, locked ? kPassword : "",
                                                      publish::CZipOptions{threads, {}});
        const std::chrono::duration<double> seconds = std::chrono::steady_clock::now() - start;
        state.SetIterationTime(seconds.count());
        timings.wall[name].push_back(seconds.count());
        timings.cpu[name].push_back(cpu_seconds(RUSAGE_SELF) - cpu_start);
        if (messages.size() != 1 || messages[0].text != publish::kZipCreated) {
            state.SkipWithError("the archive was not created");
        }
    }
    state.counters["archive_MB"] = double(fs::file_size(archive)) / (1 << 20);
    fs::remove(archive);
}

void run_info_zip(benchmark::State& state, const fs::path& folder, bool locked, Timings& timings,
                  const std::string& name) {
    const fs::path archive = folder.parent_path() / "info-zip.zip";
    const std::string command = "cd '" + folder.parent_path().string() + "' && zip -r -q -6 " +
                                (locked ? std::string("-P '") + kPassword + "' " : "") + "'" +
                                archive.string() + "' '" + folder.filename().string() + "'";
    for (auto _ : state) {
        fs::remove(archive); // zip -r would otherwise update the old archive
        const double cpu_start = cpu_seconds(RUSAGE_CHILDREN);
        const auto start = std::chrono::steady_clock::now();
        const int status = std::system(command.c_str());
        const std::chrono::duration<double> seconds = std::chrono::steady_clock::now() - start;
        state.SetIterationTime(seconds.count());
        timings.wall[name].push_back(seconds.count());
        timings.cpu[name].push_back(cpu_seconds(RUSAGE_CHILDREN) - cpu_start);
        if (status != 0) {
            state.SkipWithError("zip failed");
        }
    }
    state.counters["archive_MB"] = double(fs::file_size(archive)) / (1 << 20);
    fs::remove(archive);
}

double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    const std::size_t n = values.size();
    return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

} // namespace

int main(int argc, char** argv) {
    // Each variant runs a few times, the variants interleaved, so that a busy moment of a shared
    // machine does not fall on one variant only.
    std::vector<char*> args(argv, argv + argc);
    std::string repetitions = "--benchmark_repetitions=5";
    std::string interleave = "--benchmark_enable_random_interleaving=true";
    args.insert(args.begin() + 1, {repetitions.data(), interleave.data()});
    int count = int(args.size());
    benchmark::Initialize(&count, args.data());

    const fs::path folder = bench_folder();
    const double megabytes = double(folder_bytes(folder)) / (1 << 20);
    Timings timings;
    for (bool locked : {false, true}) {
        const std::string suffix = locked ? "/password" : "/no_password";
        for (unsigned threads : {1u, 2u}) {
            const std::string name = "cardwright/threads:" + std::to_string(threads) + suffix;
            benchmark::RegisterBenchmark(name.c_str(),
                                         [&, threads, locked, name](benchmark::State& state) {
                                             run_cardwright(state, folder, threads, locked, timings, name);
                                         })
                ->Iterations(1)
                ->UseManualTime()
                ->Unit(benchmark::kMillisecond);
        }
        const std::string name = "info_zip" + suffix;
        benchmark::RegisterBenchmark(name.c_str(),
                                     [&, locked, name](benchmark::State& state) {
                                         run_info_zip(state, folder, locked, timings, name);
                                     })
            ->Iterations(1)
            ->UseManualTime()
            ->Unit(benchmark::kMillisecond);
    }
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();

    std::printf("\n%.0f MB folder, medians of %zu runs; speed-up = Info-ZIP's time / ours\n", megabytes,
                timings.wall.empty() ? 0 : timings.wall.begin()->second.size());
    std::printf("%-34s %9s %8s %8s %9s %8s\n", "", "wall", "MB/s", "speed-up", "processor", "speed-up");
    for (const char* suffix : {"/no_password", "/password"}) {
        const std::string reference = std::string("info_zip") + suffix;
        if (!timings.wall.contains(reference)) {
            continue;
        }
        const double info_wall = median(timings.wall[reference]);
        const double info_cpu = median(timings.cpu[reference]);
        for (const std::string& name : {reference, "cardwright/threads:1" + std::string(suffix),
                                        "cardwright/threads:2" + std::string(suffix)}) {
            if (!timings.wall.contains(name)) {
                continue;
            }
            const double wall = median(timings.wall[name]);
            const double cpu = median(timings.cpu[name]);
            std::printf("%-34s %8.2fs %8.1f %8.2f %8.2fs %8.2f\n", name.c_str(), wall, megabytes / wall,
                        info_wall / wall, cpu, info_cpu / cpu);
        }
    }
    std::printf("The processor column adds up the time of every thread; on a machine shared with other work\n"
                "it shows the cost of one run better than the wall clock does.\n");
    return 0;
}
