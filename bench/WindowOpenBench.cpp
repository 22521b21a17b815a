// What the window does from Open to the converted preview, less the one-second timer and the
// painting: the picture loaded into its picture box (LoadPicture), sampled (SamplePicture) and
// converted (Convert), in MODE 2 with the fine pattern. Prints the time of each step and the peak
// memory. Usage: quillix-window-open PICTURE [point|area]
#include <sys/resource.h>

#include <QCoreApplication>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <exception>

#include "convert/Convert.h"
#include "platform/picture/PictureBox.h"
#include "sample/SamplePicture.h"
#if __has_include("decode/LoadPicture.h")
#include "decode/LoadPicture.h"
#else
#include "acquire/LoadPicture.h"  // the loader before the decoding layer, to compare with
#endif

namespace {

double Since(std::chrono::steady_clock::time_point start) {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: quillix-window-open PICTURE [point|area]\n");
        return 2;
    }
    QCoreApplication app(argc, argv);  // the window runs with Qt started
    const Sampling sampling =
        argc > 2 && std::strcmp(argv[2], "area") == 0 ? Sampling::Area : Sampling::Point;
    try {
        const auto start = std::chrono::steady_clock::now();
        PictureBox box;
        LoadPicture(argv[1], box);
        const double loaded = Since(start);
        const Samples samples = SamplePicture(box, Fit::Stretch, sampling);
        const double sampled = Since(start);
        ConversionChoices choices;
        choices.screenMode = ScreenMode::Mode2;
        choices.halftone = Halftone::Fine;
        const EncodedScreen screen = Convert(samples, choices);
        const double converted = Since(start);
        rusage usage{};
        getrusage(RUSAGE_SELF, &usage);
        std::printf(
            "load %.4f s, sample %.4f s, convert %.4f s, total %.4f s, peak %ld KiB (%d bytes)\n",
            loaded, sampled - loaded, converted - sampled, converted, usage.ru_maxrss,
            static_cast<int>(screen.bytes.size()));
    } catch (const std::exception& error) {
        std::fprintf(stderr, "%s\n", error.what());
        return 1;
    }
    return 0;
}
