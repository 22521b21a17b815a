// quillix-convert writes byte for byte what the shared pipeline writes.
#include <gtest/gtest.h>

#include <QImage>
#include <string>
#include <vector>

#include "pipeline/Pipeline.h"
#include "platform/picture/PictureBox.h"
#include "tests/TempFolder.h"
#include "tests/decode/PictureFiles.h"
#include "tests/cli/RunProgram.h"

namespace {

// The shared pipeline for a picture: converted and written.
PictureBox ConvertThroughThePipeline(const std::string& picture, const std::string& screen,
                                     int mode, int tone, bool stagger) {
    ConversionChoices choices;
    choices.screenMode = static_cast<ScreenMode>(mode);
    choices.halftone = static_cast<Halftone>(tone);
    choices.stagger = stagger;
    const EncodedScreen converted = ConvertPictureFile(picture, choices);
    WriteScreenFiles(screen, converted);
    return converted.preview;
}

TEST(SameAsSharedFunctions, EveryModeAndTone) {
    TempFolder folder;
    // A photo-sized JPEG besides the test card, so that sampling skips pixels.
    QImage photo(1000, 700, QImage::Format_RGB32);
    for (int y = 0; y < photo.height(); ++y) {
        for (int x = 0; x < photo.width(); ++x) {
            photo.setPixel(x, y, qRgb(x * 255 / 999, y * 255 / 699, (x + y) % 256));
        }
    }
    WriteFileBytes(folder / "photo.jpg", picture_files::Encode(photo, "jpeg", 85));
    const char* tones[] = {"none", "fine", "coarse", "spiral", "diagonal"};

    for (const std::string& picture :
         {std::string(QUILLIX_SAMPLES_DIR) + "/testcard.bmp", folder / "photo.jpg"}) {
        for (int mode : {0, 1, 2, 4, 5}) {
            for (int tone = 0; tone < 5; ++tone) {
                const bool stagger = (mode + tone) % 2 == 1;
                SCOPED_TRACE(picture + " mode " + std::to_string(mode) + " tone " + tones[tone] +
                             (stagger ? " stagger" : ""));
                std::vector<std::string> args{"-q",
                                              "-m",
                                              std::to_string(mode),
                                              "-t",
                                              tones[tone],
                                              "-o",
                                              folder / "cli.screen",
                                              "--preview",
                                              folder / "cli.png"};
                if (stagger) args.push_back("-s");
                args.push_back(picture);
                const ProgramResult r = RunProgram(QUILLIX_CONVERT, args,
                                                   {{"QUILLIX_DRIVE_C", folder.Path().string()}});
                ASSERT_EQ(r.exitCode, 0) << r.err;

                const PictureBox preview = ConvertThroughThePipeline(
                    picture, folder / "shared.screen", mode, tone, stagger);
                EXPECT_EQ(ReadFileBytes(folder / "cli.screen"),
                          ReadFileBytes(folder / "shared.screen"));
                EXPECT_EQ(ReadFileBytes(folder / "cli.screen.inf"),
                          ReadFileBytes(folder / "shared.screen.inf"));
                const QImage png(QString::fromStdString(folder / "cli.png"));
                ASSERT_EQ(png.size(), QSize(320, 256));
                for (int y = 0; y < 256; ++y) {
                    for (int x = 0; x < 320; ++x) {
                        const auto v = static_cast<std::uint32_t>(preview.Point(x, y));
                        ASSERT_EQ(png.pixel(x, y),
                                  qRgb(v & 0xFF, (v >> 8) & 0xFF, (v >> 16) & 0xFF))
                            << x << ", " << y;
                    }
                }
            }
        }
    }
}

}  // namespace
