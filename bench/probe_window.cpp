// Measurements of the window, for bench/run (run under Xvfb, or with QT_QPA_PLATFORM=offscreen):
//   probe_window read                  a paced read of 200 G-Info and 50 X-Info entries, -autosave
//   probe_window open FILE             opening FILE: time to the painted G grid, then the X grid; memory
//   probe_window startup MODE RUNS     start-up to the first paint; MODE none, dangling or sims
//   probe_window overview FILE         the message overview open while FILE opens: built and painted;
//                                      memory; activating rows until the grid is painted
//   probe_window bigread LIMIT_S       65535 G-Info entries from an unpaced simulator: rate, paint gaps
// Results are "name=value" lines on standard output (times in ms, memory in MB).
#include "app/lexorant_application.h"
#include "bench/probe_common.h"
#include "tools/sim/com_link.h"
#include "tools/sim/simulator.h"
#include "tools/sim/unit.h"
#include "app/tfrm_main.h"

#include <QAbstractButton>
#include <QAction>
#include <QDialog>
#include <QKeyEvent>
#include <QPixmap>
#include <QScreen>
#include <QElapsedTimer>
#include <QMessageBox>
#include <QStatusBar>
#include <QTableView>
#include <QTimer>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <fcntl.h>
#include <iostream>
#include <map>
#include <memory>
#include <spawn.h>
#include <sstream>
#include <string>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <vector>

extern char** environ;

using namespace lexorant;
using namespace lexorant::bench;

namespace {

// Counts paint events on one widget (or, with window set, on every widget of that window).
class PaintWatch : public QObject {
public:
    explicit PaintWatch(QWidget* target, bool wholeWindow = false) : target_(target), wholeWindow_(wholeWindow) {}
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Paint) {
            auto* widget = qobject_cast<QWidget*>(watched);
            if (widget && (widget == target_ || (wholeWindow_ && widget->window() == target_))) {
                ++paints;
                if (recording) {
                    stamps.push_back(MonotonicNanos());
                    const QString name = QString::fromLatin1(widget->metaObject()->className()) + QLatin1Char(' ') +
                                         (widget->objectName().isEmpty() && widget->parentWidget()
                                              ? widget->parentWidget()->objectName() + QStringLiteral("/child")
                                              : widget->objectName());
                    ++byWidget[name];
                }
            }
        }
        return false;
    }
    int paints = 0;
    bool recording = false;
    std::map<QString, int> byWidget; // paints while recording, by class and name
    std::vector<long long> stamps;

private:
    QWidget* target_;
    bool wholeWindow_;
};

// Runs events until done() holds or timeoutMs has passed; false on time-out. Sleeps while there is
// nothing to do (a 2 ms timer wakes it to look at done()), so that it takes no core from the
// threads under measurement.
template <typename Done> bool RunUntil(Done done, int timeoutMs) {
    QElapsedTimer timer;
    timer.start();
    QTimer wake;
    wake.start(2);
    while (!done()) {
        if (timer.elapsed() > timeoutMs)
            return false;
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    }
    return true;
}

// An error box would wait for a user: close it, and say so.
void CloseModalBoxesEvery(int ms, QObject* parent, int& count) {
    auto* timer = new QTimer(parent);
    QObject::connect(timer, &QTimer::timeout, [&count] {
        if (QWidget* modal = QApplication::activeModalWidget()) {
            if (auto* box = qobject_cast<QMessageBox*>(modal))
                std::cerr << "box: " << box->text().toStdString() << "\n";
            ++count;
            if (auto* dialog = qobject_cast<QDialog*>(modal))
                dialog->reject();
            else
                modal->close();
        }
    });
    timer->start(ms);
}

// The program shows its window maximised. Without a window manager (bare Xvfb) nobody acts on that
// request, so the window is given the screen's available area here, as a window manager would.
void ShowMaximized(QWidget& window) {
    window.showMaximized();
    if (const QScreen* screen = window.screen()) {
        const QRect area = screen->availableGeometry();
        if (window.frameGeometry().width() < area.width() || window.frameGeometry().height() < area.height())
            window.setGeometry(area);
    }
}

std::vector<char*> Argv(std::vector<std::string>& storage) {
    std::vector<char*> argv;
    for (auto& s : storage)
        argv.push_back(s.data());
    argv.push_back(nullptr);
    return argv;
}

std::unique_ptr<sim::Simulator> StartSimulator(int gCount, int xCount, int baud) {
    sim::GenerateOptions options;
    options.gCount = static_cast<std::uint16_t>(gCount);
    options.xCount = static_cast<std::uint16_t>(xCount);
    sim::Behaviour behaviour;
    behaviour.baud = baud;
    auto simulator = std::make_unique<sim::Simulator>(sim::GenerateUnit(options), behaviour);
    std::string error;
    if (!simulator->Start(error)) {
        std::cerr << "simulator: " << error << "\n";
        return nullptr;
    }
    return simulator;
}

// ---- read -------------------------------------------------------------------------------------

int Read(const char* program) {
    constexpr int kBaud = 19200, kG = 200, kX = 50;
    ScratchConfig scratch;
    std::filesystem::create_directories(scratch.Root() / "o-drive" / "geraete" / "Lexorant");
    auto simulator = StartSimulator(kG, kX, kBaud);
    if (!simulator)
        return 1;
    sim::ComLink link("com1", simulator->SlavePath());

    std::vector<std::string> args{program, "-autosave"};
    auto argv = Argv(args);
    int argc = 2;
    LexorantApplication app(argc, argv.data());
    TfrmMain window;
    PaintWatch painted(&window);
    window.installEventFilter(&painted);
    window.show();
    if (!RunUntil([&] { return painted.paints > 0; }, 5000))
        return 1;
    window.findChild<QAction*>(QStringLiteral("miBaud19200"))->trigger();
    int boxes = 0;
    CloseModalBoxesEvery(50, &window, boxes);

    long long firstReading = -1, blockG = -1, blockX = -1;
    QObject::connect(window.statusBar(), &QStatusBar::messageChanged, [&](const QString& text) {
        const long long now = MonotonicNanos();
        if (firstReading < 0 && text == QLatin1String("Reading G-Info 1 of 200"))
            firstReading = now;
        if (text == QLatin1String("200 G-Infos read"))
            blockG = now;
        if (text == QLatin1String("50 X-Infos read"))
            blockX = now;
    });

    // When the serial number and the G header are asked: the flush and serial waits.
    std::atomic<long long> serialAsked{-1}, headerAsked{-1};
    std::thread watcher([&] {
        if (simulator->WaitForRequests(2, std::chrono::seconds(10)))
            serialAsked = MonotonicNanos();
        if (simulator->WaitForRequests(3, std::chrono::seconds(10)))
            headerAsked = MonotonicNanos();
    });
    const long long start = MonotonicNanos();
    window.miReadClick();
    const long long returned = MonotonicNanos();
    const bool ok = RunUntil([&] { return blockX >= 0 && !window.ReadRunning(); }, 60000);
    const long long end = MonotonicNanos();
    watcher.join();
    if (!ok || firstReading < 0) {
        std::cerr << "the window's read did not finish\n";
        return 1;
    }
    const LineBytes bytes = EntryPhaseBytes(kG, kX);
    const double full = LineMillis(bytes.requests + bytes.answers, kBaud);
    const double answers = LineMillis(bytes.answerGaps, kBaud);
    const double entryMs = static_cast<double>(end - firstReading) / 1e6;
    Report("window_flush_wait_ms", static_cast<double>(serialAsked - start) / 1e6);
    Report("window_serial_wait_ms", static_cast<double>(headerAsked - serialAsked) / 1e6);
    Report("window_identification_ms", static_cast<double>(returned - start) / 1e6);
    Report("window_entry_ms", entryMs);
    Report("window_entry_to_last_status_ms", static_cast<double>(blockX - firstReading) / 1e6);
    Report("window_line_ms", full);
    Report("window_ratio", entryMs / full);
    Report("window_overhead_per_entry_ms", (entryMs - answers) / (kG + kX));
    Report("window_boxes", boxes);
    (void)blockG;
    return boxes == 0 ? 0 : 1;
}

// ---- open -------------------------------------------------------------------------------------

int Open(const char* program, const std::string& file) {
    ScratchConfig scratch; // no ports: the probe finds nothing to hold
    std::vector<std::string> args{program};
    auto argv = Argv(args);
    int argc = 1;
    LexorantApplication app(argc, argv.data());
    TfrmMain window;
    PaintWatch painted(&window);
    window.installEventFilter(&painted);
    ShowMaximized(window);
    if (!RunUntil([&] { return painted.paints > 0; }, 5000))
        return 1;
    // Let the window settle (maximising, late exposes) before the idle figure.
    RunUntil([] { return false; }, 300);
    const long idleKb = ResidentKilobytes();

    auto* gGrid = window.findChild<QTableView*>(QStringLiteral("sgGInfo"));
    auto* xGrid = window.findChild<QTableView*>(QStringLiteral("sgXInfo"));
    PaintWatch gPainted(gGrid->viewport()), xPainted(xGrid->viewport());
    gGrid->viewport()->installEventFilter(&gPainted);
    xGrid->viewport()->installEventFilter(&xPainted);

    const long long start = MonotonicNanos();
    if (window.LoadInfoFile(QString::fromStdString(file)) != 0) {
        std::cerr << "cannot open " << file << "\n";
        return 1;
    }
    const double loadMs = MillisSince(start);
    if (!RunUntil([&] { return gPainted.paints > 0 && gGrid->isVisible(); }, 20000))
        return 1;
    const double gMs = MillisSince(start);
    const long gKb = ResidentKilobytes();
    // BENCH_GRAB=prefix keeps pictures of what was painted, to check the measurement by eye.
    const char* grab = std::getenv("BENCH_GRAB");
    if (grab)
        window.grab().save(QString::fromLocal8Bit(grab) + QStringLiteral("-g.png"));

    const long long switchStart = MonotonicNanos();
    window.miXInfoClick();
    if (!RunUntil([&] { return xPainted.paints > 0 && xGrid->isVisible(); }, 20000))
        return 1;
    const double xMs = MillisSince(switchStart);
    const long xKb = ResidentKilobytes();
    if (grab)
        window.grab().save(QString::fromLocal8Bit(grab) + QStringLiteral("-x.png"));
    const int columns = window.GInfoModel().columnCount() + 1;

    Report("open_idle_rss_mb", static_cast<double>(idleKb) / 1024.0);
    Report("open_load_ms", loadMs);
    Report("open_g_painted_ms", gMs);
    Report("open_g_rss_delta_mb", static_cast<double>(gKb - idleKb) / 1024.0);
    Report("open_x_painted_ms", xMs);
    Report("open_x_rss_delta_mb", static_cast<double>(xKb - idleKb) / 1024.0);
    Report("open_g_columns", columns);
    return 0;
}

// ---- overview ---------------------------------------------------------------------------------

int Overview(const char* program, const std::string& file) {
    ScratchConfig scratch;
    std::vector<std::string> args{program};
    auto argv = Argv(args);
    int argc = 1;
    LexorantApplication app(argc, argv.data());
    TfrmMain window;
    PaintWatch painted(&window);
    window.installEventFilter(&painted);
    ShowMaximized(window);
    if (!RunUntil([&] { return painted.paints > 0; }, 5000))
        return 1;
    window.findChild<QAction*>(QStringLiteral("miMessages"))->trigger();
    auto* list = window.findChild<QTableView*>(QStringLiteral("tvMessages"));
    RunUntil([] { return false; }, 300);
    const long idleKb = ResidentKilobytes();

    PaintWatch listPainted(list->viewport());
    list->viewport()->installEventFilter(&listPainted);
    const long long start = MonotonicNanos();
    if (window.LoadInfoFile(QString::fromStdString(file)) != 0) {
        std::cerr << "cannot open " << file << "\n";
        return 1;
    }
    const long long loaded = MonotonicNanos();
    listPainted.paints = 0;
    if (!RunUntil([&] { return list->model()->rowCount() > 0 && listPainted.paints > 0; }, 20000))
        return 1;
    const double builtMs = MillisSince(start);
    const double afterLoadMs = MillisSince(loaded);
    RunUntil([] { return false; }, 300);
    const long loadedKb = ResidentKilobytes();
    if (const char* grab = std::getenv("BENCH_GRAB"))
        window.grab().save(QString::fromLocal8Bit(grab) + QStringLiteral("-overview.png"));

    // Return on the most frequent code, again and again: each time the grid shows its next entry.
    auto* gGrid = window.findChild<QTableView*>(QStringLiteral("sgGInfo"));
    auto* xGrid = window.findChild<QTableView*>(QStringLiteral("sgXInfo"));
    PaintWatch gridPainted(gGrid->viewport());
    gGrid->viewport()->installEventFilter(&gridPainted);
    xGrid->viewport()->installEventFilter(&gridPainted);
    list->setFocus();
    list->setCurrentIndex(list->model()->index(0, 0));
    double slowest = 0;
    for (int i = 0; i < 20; ++i) {
        RunUntil([] { return false; }, 20);
        gridPainted.paints = 0;
        const long long at = MonotonicNanos();
        QKeyEvent press(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
        QCoreApplication::sendEvent(list, &press);
        if (!RunUntil([&] { return gridPainted.paints > 0; }, 5000))
            return 1;
        slowest = std::max(slowest, MillisSince(at));
    }
    Report("overview_built_painted_ms", builtMs);
    Report("overview_after_load_ms", afterLoadMs);
    Report("overview_rss_delta_mb", static_cast<double>(loadedKb - idleKb) / 1024.0);
    Report("overview_rows", list->model()->rowCount());
    Report("overview_activate_max_ms", slowest);
    return 0;
}

// ---- startup ----------------------------------------------------------------------------------

int StartupChild(const char* program, long long spawnedAt) {
    const long long mainEntered = MonotonicNanos();
    std::vector<std::string> args{program};
    auto argv = Argv(args);
    int argc = 1;
    LexorantApplication app(argc, argv.data());
    TfrmMain window;
    const long long constructed = MonotonicNanos();
    PaintWatch painted(&window);
    window.installEventFilter(&painted);
    ShowMaximized(window);
    while (painted.paints == 0)
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    QCoreApplication::processEvents(); // the paint's own event has run
    const long long firstPaint = MonotonicNanos();
    Report("exec_ms", static_cast<double>(mainEntered - spawnedAt) / 1e6);
    Report("constructed_ms", static_cast<double>(constructed - spawnedAt) / 1e6);
    Report("startup_ms", static_cast<double>(firstPaint - spawnedAt) / 1e6);
    std::fflush(stdout);
    std::_Exit(0); // tearing down is not part of the start
}

double Median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v.empty() ? 0 : v[v.size() / 2];
}

int Startup(const std::string& mode, int runs) {
    ScratchConfig scratch;
    std::vector<std::unique_ptr<sim::Simulator>> simulators;
    std::vector<std::unique_ptr<sim::ComLink>> links;
    for (int n = 1; n <= 15; ++n) {
        const std::string name = "com" + std::to_string(n);
        if (mode == "dangling") {
            std::filesystem::create_symlink("/nonexistent/ttyBench" + std::to_string(n),
                                            scratch.DeviceFolder() / name);
        } else if (mode == "sims") {
            simulators.push_back(StartSimulator(10, 10, 0));
            if (!simulators.back())
                return 1;
            links.push_back(std::make_unique<sim::ComLink>(name, simulators.back()->SlavePath()));
        }
    }
    std::vector<double> startup, exec, constructed;
    for (int r = 0; r < runs; ++r) {
        int out[2];
        if (::pipe(out) != 0)
            return 1;
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_adddup2(&actions, out[1], STDOUT_FILENO);
        std::string self = std::filesystem::read_symlink("/proc/self/exe").string();
        std::string child = "startup-child";
        const long long t0 = MonotonicNanos();
        std::string stamp = std::to_string(t0);
        char* argv[] = {self.data(), child.data(), stamp.data(), nullptr};
        pid_t pid = -1;
        const int rc = posix_spawn(&pid, self.c_str(), &actions, nullptr, argv, environ);
        posix_spawn_file_actions_destroy(&actions);
        ::close(out[1]);
        if (rc != 0)
            return 1;
        std::string text;
        char buffer[512];
        for (ssize_t n; (n = ::read(out[0], buffer, sizeof buffer)) != 0;) {
            if (n < 0 && errno == EINTR)
                continue;
            if (n < 0)
                break;
            text.append(buffer, static_cast<std::size_t>(n));
        }
        ::close(out[0]);
        int status = 0;
        ::waitpid(pid, &status, 0);
        std::istringstream lines(text);
        for (std::string line; std::getline(lines, line);) {
            const auto eq = line.find('=');
            if (eq == std::string::npos)
                continue;
            const std::string key = line.substr(0, eq);
            const double value = std::stod(line.substr(eq + 1));
            if (key == "startup_ms")
                startup.push_back(value);
            else if (key == "exec_ms")
                exec.push_back(value);
            else if (key == "constructed_ms")
                constructed.push_back(value);
        }
    }
    if (startup.empty())
        return 1;
    const std::string p = "startup_" + mode;
    Report((p + "_median_ms").c_str(), Median(startup));
    Report((p + "_best_ms").c_str(), *std::min_element(startup.begin(), startup.end()));
    Report((p + "_exec_median_ms").c_str(), Median(exec));
    Report((p + "_constructed_median_ms").c_str(), Median(constructed));
    return 0;
}

// ---- bigread ----------------------------------------------------------------------------------

int BigRead(const char* program, int limitSeconds) {
    constexpr int kG = 65535;
    ScratchConfig scratch;
    std::filesystem::create_directories(scratch.Root() / "o-drive" / "geraete" / "Lexorant");
    auto simulator = StartSimulator(kG, 0, 0);
    if (!simulator)
        return 1;
    sim::ComLink link("com1", simulator->SlavePath());

    std::vector<std::string> args{program, "-autosave"};
    auto argv = Argv(args);
    int argc = 2;
    LexorantApplication app(argc, argv.data());
    TfrmMain window;
    PaintWatch paints(&window, true);
    app.installEventFilter(&paints);
    ShowMaximized(window);
    if (!RunUntil([&] { return paints.paints > 0; }, 5000))
        return 1;
    int boxes = 0;
    CloseModalBoxesEvery(50, &window, boxes);

    long long firstReading = -1, blockDone = -1, lastStatus = -1;
    int lastNumber = 0;
    std::vector<std::pair<int, long long>> milestones; // entry 1, 5001, 10001, ...
    const QString firstText = QStringLiteral("Reading G-Info 1 of %1").arg(kG);
    const QString doneText = QStringLiteral("%1 G-Infos read").arg(kG);
    const QString prefix = QStringLiteral("Reading G-Info ");

    // A 10 ms timer: how late it fires during the entry phase.
    QTimer tick;
    tick.setTimerType(Qt::PreciseTimer);
    long long lastTick = -1;
    double worstTickGapMs = 0;
    QObject::connect(&tick, &QTimer::timeout, [&] {
        const long long now = MonotonicNanos();
        if (firstReading >= 0 && blockDone < 0 && lastTick >= 0)
            worstTickGapMs = std::max(worstTickGapMs, static_cast<double>(now - lastTick) / 1e6);
        lastTick = now;
    });
    tick.start(10);

    QObject::connect(window.statusBar(), &QStatusBar::messageChanged, [&](const QString& text) {
        const long long now = MonotonicNanos();
        if (firstReading < 0 && text == firstText) {
            firstReading = now;
            paints.recording = true;
            paints.stamps.push_back(now);
        }
        if (text.startsWith(prefix)) {
            lastNumber = text.mid(prefix.size()).section(QLatin1Char(' '), 0, 0).toInt();
            lastStatus = now;
            if (lastNumber % 5000 == 1)
                milestones.emplace_back(lastNumber, now);
        }
        if (text == doneText) {
            blockDone = now;
            paints.recording = false;
            paints.stamps.push_back(now);
        }
    });

    window.miReadClick();
    // The identification waits 2 x 2000 ms before the first entry.
    const bool complete = RunUntil([&] { return blockDone >= 0; }, (limitSeconds + 5) * 1000);
    const long long end = blockDone >= 0 ? blockDone : lastStatus;
    if (firstReading < 0) {
        std::cerr << "the big read did not start\n";
        return 1;
    }
    paints.recording = false;
    double worstPaintGapMs = 0;
    for (std::size_t i = 1; i < paints.stamps.size(); ++i)
        worstPaintGapMs = std::max(worstPaintGapMs, static_cast<double>(paints.stamps[i] - paints.stamps[i - 1]) / 1e6);
    const int entries = complete ? kG : lastNumber - 1;
    const double seconds = static_cast<double>(end - firstReading) / 1e9;
    Report("bigread_complete", complete ? 1 : 0);
    Report("bigread_entries", entries);
    Report("bigread_seconds", seconds);
    Report("bigread_entries_per_s", entries / seconds);
    Report("bigread_paints", static_cast<double>(paints.stamps.size()));
    Report("bigread_worst_paint_gap_ms", worstPaintGapMs);
    Report("bigread_worst_tick_gap_ms", worstTickGapMs);
    Report("bigread_boxes", boxes);
    for (const auto& [name, count] : paints.byWidget)
        std::cerr << "paints " << name.toStdString() << ": " << count << "\n";
    // The rate over the first and the last 5000 entries reached: does it fall as the grid grows?
    if (milestones.size() >= 2) {
        const auto rate = [](const std::pair<int, long long>& a, const std::pair<int, long long>& b) {
            return (b.first - a.first) / (static_cast<double>(b.second - a.second) / 1e9);
        };
        Report("bigread_first5000_entries_per_s", rate(milestones[0], milestones[1]));
        Report("bigread_last5000_entries_per_s", rate(milestones[milestones.size() - 2], milestones.back()));
    }
    if (!complete) {
        std::fflush(stdout);
        std::_Exit(0); // the reading thread is still busy; no quit question
    }
    RunUntil([&] { return !window.ReadRunning(); }, 20000);
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    const std::vector<std::string> args(argv + 1, argv + argc);
    if (args.size() == 1 && args[0] == "read")
        return Read(argv[0]);
    if (args.size() == 2 && args[0] == "open")
        return Open(argv[0], args[1]);
    if (args.size() == 2 && args[0] == "overview")
        return Overview(argv[0], args[1]);
    if (args.size() == 3 && args[0] == "startup")
        return Startup(args[1], std::stoi(args[2]));
    if (args.size() == 2 && args[0] == "startup-child")
        return StartupChild(argv[0], std::stoll(args[1]));
    if (args.size() == 2 && args[0] == "bigread")
        return BigRead(argv[0], std::stoi(args[1]));
    std::cerr << "usage: probe_window read | open FILE | overview FILE | startup none|dangling|sims RUNS | bigread LIMIT_S\n";
    return 2;
}
