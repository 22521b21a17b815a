// How quickly the window answers: from choosing an option (with Picture > "Convert as Options
// Change" on) to the monitor view painting the new conversion, and from start to visible.
//
//   quillix-window-latency --startup        one line: milliseconds from start to the window shown
//   quillix-window-latency [PHOTO.jpg] [N]  the latencies, N choices each (default 21); without a
//                                           photograph a 6000 x 4000 JPEG is generated
//
// Prints medians with the range, wall and processor time (all threads, and the UI thread alone).
// Run with QT_QPA_PLATFORM=offscreen (or under a display) and note the machine's load: see
// bench/window-latency.sh.
#include <unistd.h>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QElapsedTimer>
#include <QImage>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <ctime>
#include <fstream>
#include <functional>
#include <sstream>
#include <string>
#include <vector>

#include "app/ConversionSettings.h"
#include "app/MonitorView.h"
#include "app/WindowExtras.h"
#include "app/frmMain.h"
#include "platform/desktop/Clipboard.h"
#include "platform/desktop/DesktopOpener.h"
#include "platform/desktop/FileChooser.h"
#include "platform/desktop/MessageBox.h"
#include "platform/desktop/SettingsStore.h"

namespace {

// Services that show nothing and keep nothing.
struct Quiet : FileChooser, MessageBox, SettingsStore, Clipboard, DesktopOpener {
    QString ShowOpen(const OpenFileRequest&) override { return {}; }
    QStringList ShowOpenMany(const OpenFileRequest&) override { return {}; }
    QString ShowSave(const SaveFileRequest&) override { return {}; }
    void Show(const QString& text) override {
        std::fprintf(stderr, "message: %s\n", qPrintable(text));
    }
    QString GetSetting(const QString&, const QString&, const QString& value) const override {
        return value;
    }
    void SaveSetting(const QString&, const QString&, const QString&) override {}
    void SetText(const QString&) override {}
    bool Open(const QUrl&) override { return true; }
};

// Processor time of the whole process, or of the calling (user-interface) thread alone.
double CpuMs(clockid_t clock = CLOCK_PROCESS_CPUTIME_ID) {
    timespec now{};
    clock_gettime(clock, &now);
    return now.tv_sec * 1e3 + now.tv_nsec / 1e6;
}

// Milliseconds since the process was started by the system (10 ms resolution).
double SinceExecMs() {
    std::ifstream stat("/proc/self/stat");
    std::string text((std::istreambuf_iterator<char>(stat)), {});
    std::istringstream fields(text.substr(text.rfind(')') + 2));
    std::string field;
    for (int i = 3; i < 22; ++i) fields >> field;
    unsigned long long startTicks = 0;
    fields >> startTicks;
    timespec boot{};
    clock_gettime(CLOCK_BOOTTIME, &boot);
    return (boot.tv_sec + boot.tv_nsec / 1e9) * 1e3 - startTicks * 1e3 / sysconf(_SC_CLK_TCK);
}

struct Sample {
    double wall;
    double cpu;
    double uiCpu;
};

void Report(const char* what, std::vector<Sample> samples) {
    const auto median = [](std::vector<double> values) {
        std::sort(values.begin(), values.end());
        return values[values.size() / 2];
    };
    std::vector<double> wall, cpu, uiCpu;
    for (const Sample& s : samples) {
        wall.push_back(s.wall);
        cpu.push_back(s.cpu);
        uiCpu.push_back(s.uiCpu);
    }
    std::printf("%-44s median %7.1f ms (%.1f-%.1f), processor %6.1f ms (UI thread %.1f), n=%zu\n",
                what, median(wall), *std::min_element(wall.begin(), wall.end()),
                *std::max_element(wall.begin(), wall.end()), median(cpu), median(uiCpu),
                samples.size());
}

// Chooses, then waits for the monitor to paint the conversion; also the longest the event loop
// went without answering meanwhile, as the lateness of a timer that ticks every 5 ms.
Sample Choose(MonitorView& monitor, const std::function<void()>& choose,
              double* longestFreeze = nullptr) {
    const std::uint64_t before = monitor.PaintedConversions();
    QElapsedTimer wall;
    QElapsedTimer sinceTick;
    double freeze = 0;
    QTimer ticker;
    ticker.setInterval(5);
    QObject::connect(&ticker, &QTimer::timeout, [&] {
        freeze = std::max(freeze, sinceTick.nsecsElapsed() / 1e6 - 5);
        sinceTick.restart();
    });
    const double cpu = CpuMs();
    const double uiCpu = CpuMs(CLOCK_THREAD_CPUTIME_ID);
    wall.start();
    sinceTick.start();
    ticker.start();
    choose();
    while (monitor.PaintedConversions() == before) {
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
        if (wall.elapsed() > 60000) {
            std::fprintf(stderr, "no conversion shown within a minute\n");
            std::exit(1);
        }
    }
    const Sample sample{static_cast<double>(wall.nsecsElapsed()) / 1e6, CpuMs() - cpu,
                        CpuMs(CLOCK_THREAD_CPUTIME_ID) - uiCpu};
    if (longestFreeze) *longestFreeze = std::max(*longestFreeze, freeze);
    return sample;
}

std::string MakePhoto(const QString& folder) {
    QImage image(6000, 4000, QImage::Format_RGB32);
    for (int y = 0; y < image.height(); ++y) {
        auto* row = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            const int grain = (x * 7 + y * 13) % 17 - 8;
            const auto level = [grain](double v) {
                return std::clamp(static_cast<int>(v) + grain, 0, 255);
            };
            row[x] = qRgb(level(x * 255.0 / 6000), level(y * 255.0 / 4000),
                          level(128 + 60 * std::sin(x * 0.01) * std::cos(y * 0.013)));
        }
    }
    const QString path = folder + "/photo-24mp.jpg";
    image.save(path, "JPG", 90);
    return path.toStdString();
}

}  // namespace

int main(int argc, char** argv) {
    const double startedMs = SinceExecMs();
    QElapsedTimer sinceMain;
    sinceMain.start();
    const bool startup = argc > 1 && std::string(argv[1]) == "--startup";
    QApplication application(argc, argv);
    QTemporaryDir drive;
    qputenv("QUILLIX_DRIVE_C", drive.path().toLocal8Bit());
    Quiet quiet;
    frmMain window(
        frmMainServices{&quiet, &quiet, &quiet, [](QWidget*) {}, &quiet, nullptr, &quiet});
    window.Form_Load();
    if (!QTest::qWaitForWindowExposed(&window)) return 1;
    if (startup) {
        std::printf("%.1f ms from start to visible (%.1f ms of them in main)\n",
                    startedMs + sinceMain.nsecsElapsed() / 1e6, sinceMain.nsecsElapsed() / 1e6);
        return 0;
    }

    const std::string photo =
        argc > 1 && argv[1][0] != 0 ? std::string(argv[1]) : MakePhoto(drive.path());
    const int repeats = argc > 2 ? std::atoi(argv[2]) : 21;
    QElapsedTimer open;
    open.start();
    window.OpenPicture(QString::fromStdString(photo));
    window.Timer1_Timer();
    std::printf("opened and converted %s in %lld ms (sampling pass included)\n", photo.c_str(),
                static_cast<long long>(open.elapsed()));
    MonitorView& monitor = *window.extras->monitor;
    window.extras->mnuViewMonitor->trigger();
    if (!QTest::qWaitForWindowExposed(&monitor)) return 1;
    window.extras->mnuPictureLive->trigger();
    QTest::qWait(200);

    std::vector<Sample> classic;
    for (int i = 0; i < repeats; ++i)
        classic.push_back(
            Choose(monitor, [&] { window.optMode[i % 2 == 0 ? 1 : 2]->setChecked(true); }));
    Report("classic tone, MODE 1 <-> 2", classic);

    Choose(monitor, [&] {
        window.mnuPicture.diffusion[2]->trigger();
        window.mnuPicture.palette[1]->trigger();
    });
    std::vector<Sample> diffused;
    for (int i = 0; i < repeats; ++i)
        diffused.push_back(
            Choose(monitor, [&] { window.optMode[i % 2 == 0 ? 0 : 1]->setChecked(true); }));
    Report("Atkinson, best palette, MODE 0 <-> 1", diffused);

    Choose(monitor, [&] { window.mnuPicture.sampling[1]->trigger(); });
    std::vector<Sample> resampled;
    double freeze = 0;
    const int fits[] = {1, 2, 0};
    for (int i = 0; i < std::max(3, repeats / 4); ++i)
        resampled.push_back(Choose(
            monitor, [&] { window.mnuPicture.fit[fits[i % 3]]->trigger(); }, &freeze));
    Report("new area sampling of the photograph (fit)", resampled);
    std::printf("longest the window went unanswered meanwhile: %.0f ms\n", freeze);
    return 0;
}
