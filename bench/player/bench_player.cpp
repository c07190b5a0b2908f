// The movie player widget: how long a single-card movie takes from loadMovie() to its first frame
// painted in a warm player (the editor's preview after each keystroke), and a cold start of the widget
// to ready. Runs offscreen. Figures only; nothing here fails a build.
#include "app/app_state.h"
#include "app/error_report.h"
#include "app/workspace.h"
#include "model/project.h"
#include "movie/gift_builder.h"
#include "player/dlg_preview.h"
#include "player/ruffle_view.h"
#include "player/web_engine_setup.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QTimer>

#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <memory>

namespace {

namespace fs = std::filesystem;

// Problems while making the movies are printed: a movie missing its fonts would load faster than a real one.
class PrintingReporter : public app::ErrorReporter {
public:
    PrintingReporter() : app::ErrorReporter(nullptr) {}
    void tip(std::string_view text) override {
        std::fprintf(stderr, "tip: %.*s\n", int(text.size()), text.data());
    }

protected:
    bool AskToSave(const std::string& text) override {
        std::fprintf(stderr, "report: %s\n", text.c_str());
        return false;
    }
};

// Two single-card movies of the new project's first card, differing in one letter of the title as after
// a keystroke.
std::vector<QByteArray> CardMovies() {
    const fs::path work = CW_BENCH_WORK_DIR;
    fs::create_directories(work / "Temp");
    app::Workspace workspace{CW_BENCH_DATA_DIR, work};
    app::AppState state;
    PrintingReporter reporter;
    // The new project's first card, as the editor previews it.
    model::Project project = model::MakeDefaultProject();
    movie::GiftBuilder builder(project, state, workspace, reporter);
    builder.LoadGiftFonts(1);
    std::vector<QByteArray> movies;
    project.cards[0]->m_strComment = "A comment of a few words,\r\nover two lines.";
    for (const char* typed : {"Happy birthday", "Happy birthday!"}) {
        project.cards[0]->m_strTitle = typed;
        const fs::path out = work / "card.swf";
        builder.GenerateSWF(out, project.cards[0].get(), 0, 0);
        QFile file(QString::fromStdString(out.string()));
        file.open(QIODevice::ReadOnly);
        movies.push_back(file.readAll());
    }
    std::fprintf(stderr, "card movie: %lld bytes\n", static_cast<long long>(movies[0].size()));
    return movies;
}

// The warm player of BM_LoadToPaintWarm, released before the application ends.
std::unique_ptr<player::RuffleView> g_warm;

// Runs the event loop (not QTest::qWaitFor, which sleeps the GUI thread between its checks, and Qt
// WebEngine's browser side runs on that thread) until `done` or two minutes have passed.
bool WaitInEventLoop(const std::function<bool()>& done) {
    QEventLoop loop;
    QElapsedTimer clock;
    clock.start();
    QTimer check;
    QObject::connect(&check, &QTimer::timeout, &loop, [&] {
        if (done() || clock.elapsed() > 120000) {
            loop.quit();
        }
    });
    check.start(2);
    if (!done()) {
        loop.exec();
    }
    return done();
}

bool WaitReady(const player::RuffleView& view) {
    return WaitInEventLoop([&] { return view.isReady(); });
}

void BM_LoadToPaintWarm(benchmark::State& st) {
    static const std::vector<QByteArray> movies = CardMovies();
    // One view for every repetition: warm after its first movie.
    static quint64 painted = 0;
    static size_t i = 0;
    if (!g_warm) {
        g_warm = std::make_unique<player::RuffleView>();
        player::RuffleView& view = *g_warm;
        view.resize(800, 600);
        view.show();
        QObject::connect(&view, &player::RuffleView::moviePainted, [](quint64 serial) { painted = serial; });
        const quint64 first = view.loadMovie(movies[0]);
        if (!WaitInEventLoop([&] { return painted == first; })) {
            st.SkipWithError("the player did not paint its first movie");
            return;
        }
    }
    for (auto _ : st) {
        QElapsedTimer clock;
        clock.start();
        // An event loop that ends on the signal itself, so no polling interval is measured.
        QEventLoop loop;
        const auto done =
            QObject::connect(g_warm.get(), &player::RuffleView::moviePainted, &loop, &QEventLoop::quit);
        QTimer::singleShot(20000, &loop, &QEventLoop::quit);
        const quint64 serial = g_warm->loadMovie(movies[++i % movies.size()]);
        loop.exec();
        QObject::disconnect(done);
        if (painted != serial) {
            st.SkipWithError("a movie was not painted");
            return;
        }
        st.SetIterationTime(double(clock.nsecsElapsed()) / 1e9);
    }
}
BENCHMARK(BM_LoadToPaintWarm)
    ->Unit(benchmark::kMillisecond)
    ->UseManualTime()
    ->Iterations(1)
    ->Repetitions(50)
    ->ReportAggregatesOnly(true);

void BM_ColdStartToReady(benchmark::State& st) {
    for (auto _ : st) {
        QElapsedTimer clock;
        clock.start();
        auto view = std::make_unique<player::RuffleView>();
        view->resize(480, 360);
        view->show();
        if (!WaitReady(*view)) {
            st.SkipWithError("the player did not start");
            return;
        }
        st.SetIterationTime(double(clock.nsecsElapsed()) / 1e9);
    }
}
BENCHMARK(BM_ColdStartToReady)
    ->Unit(benchmark::kMillisecond)
    ->UseManualTime()
    ->Iterations(1)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);

// A new widget until the first card movie is painted: page, Ruffle's wasm compiled, movie shown.
void BM_ColdStartToFirstPaint(benchmark::State& st) {
    static const std::vector<QByteArray> movies = CardMovies();
    for (auto _ : st) {
        QElapsedTimer clock;
        clock.start();
        auto view = std::make_unique<player::RuffleView>();
        view->resize(480, 360);
        view->show();
        quint64 painted = 0;
        QObject::connect(view.get(), &player::RuffleView::moviePainted,
                         [&](quint64 serial) { painted = serial; });
        const quint64 serial = view->loadMovie(movies[0]);
        if (!WaitInEventLoop([&] { return painted == serial; })) {
            st.SkipWithError("the first movie was not painted");
            return;
        }
        st.SetIterationTime(double(clock.nsecsElapsed()) / 1e9);
    }
}
BENCHMARK(BM_ColdStartToFirstPaint)
    ->Unit(benchmark::kMillisecond)
    ->UseManualTime()
    ->Iterations(1)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);

// The Preview dialog from its construction to the movie painted: with a player of its own (a cold start)
// and with a warm player as the editor keeps one (warmed up five seconds before, then hidden).
void PreviewDialog(benchmark::State& st, bool warm) {
    static const std::vector<QByteArray> movies = CardMovies();
    const fs::path path = fs::path(CW_BENCH_WORK_DIR) / "preview.swf";
    QFile file(QString::fromStdString(path.string()));
    file.open(QIODevice::WriteOnly);
    file.write(movies[0]);
    file.close();
    for (auto _ : st) {
        QWidget owner;
        owner.show();
        player::RuffleView* lent = nullptr;
        quint64 warmUpSerial = 0;
        if (warm) {
            lent = new player::RuffleView(&owner);
            lent->setGeometry(0, 0, 2, 2);
            lent->show();
            warmUpSerial = lent->warmUp();
            QObject::connect(lent, &player::RuffleView::moviePainted, lent,
                             [lent, warmUpSerial](quint64 serial) {
                                 if (serial == warmUpSerial) {
                                     lent->hide();
                                 }
                             });
            WaitInEventLoop([clock = std::chrono::steady_clock::now()] {
                return std::chrono::steady_clock::now() - clock > std::chrono::seconds(5);
            });
        }
        QElapsedTimer clock;
        clock.start();
        CDlgPreview dlg(nullptr, lent);
        quint64 painted = 0;
        QObject::connect(dlg.playerView(), &player::RuffleView::moviePainted,
                         [&](quint64 serial) { painted = serial; });
        dlg.m_strMovie = QString::fromStdString(path.string());
        dlg.show();
        if (!WaitInEventLoop([&] { return painted > warmUpSerial; })) {
            st.SkipWithError("the preview was not painted");
            return;
        }
        st.SetIterationTime(double(clock.nsecsElapsed()) / 1e9);
    }
}
void BM_PreviewDialogCold(benchmark::State& st) {
    PreviewDialog(st, false);
}
void BM_PreviewDialogWarm(benchmark::State& st) {
    PreviewDialog(st, true);
}
BENCHMARK(BM_PreviewDialogCold)
    ->Unit(benchmark::kMillisecond)
    ->UseManualTime()
    ->Iterations(1)
    ->Repetitions(5);
BENCHMARK(BM_PreviewDialogWarm)
    ->Unit(benchmark::kMillisecond)
    ->UseManualTime()
    ->Iterations(1)
    ->Repetitions(5);

} // namespace

int main(int argc, char** argv) {
    player::PrepareWebEngine();
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    if (qEnvironmentVariableIsEmpty("CARDWRIGHT_HOME")) {
        qputenv("CARDWRIGHT_HOME", CW_BENCH_DATA_DIR);
    }
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    g_warm.reset();
    benchmark::Shutdown();
    return 0;
}
