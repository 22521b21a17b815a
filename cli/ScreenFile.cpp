#include "cli/ScreenFile.h"

#include "cli/PngFile.h"
#include "platform/files/AtomicFile.h"
#include "platform/files/ReadOnlyFile.h"
#include "screen/DisplayScreen.h"
#include "screen/ScreenGeometry.h"
#include "screen/TeletextPage.h"

ScreenFileContents ReadScreenFile(const std::string& path, int screenMode) {
    ReadOnlyFile file;
    OpenOrRaise(file, path, "screen");
    if (file.Size() == kTeletextPageBytes) screenMode = ModeNumber(ScreenMode::Mode7);
    const int length = ScreenMemoryOf(screenMode).screenBytes;
    if (file.Size() != length) {
        throw FileError(path,
                        "not a MODE " + std::to_string(screenMode) + " screen: " +
                            std::to_string(file.Size()) + " bytes, not " + std::to_string(length) +
                            " (MODEs 0-2 are 20480 bytes, 4-5 10240, 7 1000; choose with -m)");
    }
    std::vector<std::uint8_t> screen(static_cast<std::size_t>(length));
    if (file.ReadAt(reinterpret_cast<char*>(screen.data()), length, 0) != length) {
        throw FileError(path,
                        file.ErrorText().empty() ? "truncated screen file" : file.ErrorText());
    }
    return {screenMode, std::move(screen)};
}

void WriteDisplayPng(const std::string& path, const std::vector<std::uint8_t>& screen,
                     int screenMode, const Palette& palette) {
    AtomicFile png(path);
    PreparePng(png, DisplayScreen(screen, screenMode, palette));
    png.Commit();
}
