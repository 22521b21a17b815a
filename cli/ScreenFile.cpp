#include "cli/ScreenFile.h"

#include "cli/PngFile.h"
#include "platform/files/AtomicFile.h"
#include "platform/files/ReadOnlyFile.h"
#include "screen/DisplayScreen.h"
#include "screen/ScreenGeometry.h"

std::vector<std::uint8_t> ReadScreenFile(const std::string& path, int screenMode) {
    ReadOnlyFile file;
    switch (file.Open(path)) {
        case ReadOnlyFile::Refusal::kNone:
            break;
        case ReadOnlyFile::Refusal::kNotFound:
            throw FileError(path, "file not found");
        case ReadOnlyFile::Refusal::kFolder:
            throw FileError(path, "is a folder, not a screen file");
        case ReadOnlyFile::Refusal::kNotRegular:
            throw FileError(path, "not a regular file");
        case ReadOnlyFile::Refusal::kSystem:
            throw FileError(path, file.ErrorText());
    }
    const int length = GeometryOf(screenMode).screenBytes;
    if (file.Size() != length) {
        throw FileError(path, "not a MODE " + std::to_string(screenMode) +
                                  " screen: " + std::to_string(file.Size()) + " bytes, not " +
                                  std::to_string(length) +
                                  " (MODEs 0-2 are 20480 bytes, 4-5 10240; choose with -m)");
    }
    std::vector<std::uint8_t> screen(static_cast<std::size_t>(length));
    if (file.ReadAt(reinterpret_cast<char*>(screen.data()), length, 0) != length) {
        throw FileError(path,
                        file.ErrorText().empty() ? "truncated screen file" : file.ErrorText());
    }
    return screen;
}

void WriteDisplayPng(const std::string& path, const std::vector<std::uint8_t>& screen,
                     int screenMode, const Palette& palette) {
    AtomicFile png(path);
    PreparePng(png, DisplayScreen(screen, screenMode, palette));
    png.Commit();
}
