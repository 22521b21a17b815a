#include "disc/SlideshowDisc.h"

#include <filesystem>

#include "disc/BootScript.h"
#include "disc/DfsImage.h"
#include "disc/DiscNames.h"
#include "platform/files/AtomicFile.h"
#include "screen/ScreenGeometry.h"

namespace {

// The loader's view of the first count pictures, with their DFS names.
std::vector<LoaderSlide> SlidesOf(const std::vector<DiscPicture>& pictures, std::size_t count) {
    std::vector<std::string> stems;
    for (std::size_t i = 0; i < count; ++i) stems.push_back(pictures[i].stem);
    const std::vector<std::string> names = DfsNamesFor(stems);
    std::vector<LoaderSlide> slides;
    for (std::size_t i = 0; i < count; ++i) {
        slides.push_back({names[i], pictures[i].screenMode, pictures[i].palette});
    }
    return slides;
}

int ScreenBytes(int screenMode) {
    return ScreenMemoryOf(screenMode).screenBytes;
}

// Whether the first count pictures fit, beside the !BOOT they need.
bool Fits(const std::vector<DiscPicture>& pictures, std::size_t count, int tracks) {
    if (count + 1 > kDfsMaxFiles) return false;
    const std::vector<LoaderSlide> slides = SlidesOf(pictures, count);
    int sectors = SectorsFor(BootScript(slides).size());
    for (const LoaderSlide& slide : slides) sectors += SectorsFor(ScreenBytes(slide.screenMode));
    return sectors <= FileSectors(tracks);
}

std::vector<DfsFile> FilesOf(const std::vector<DiscPicture>& pictures) {
    const std::vector<LoaderSlide> slides = SlidesOf(pictures, pictures.size());
    const std::string script = BootScript(slides);
    std::vector<DfsFile> files{
        {"!BOOT", 0, 0, std::vector<std::uint8_t>(script.begin(), script.end())}};
    for (std::size_t i = 0; i < pictures.size(); ++i) {
        const DiscPicture& picture = pictures[i];
        if (picture.screen.size() != static_cast<std::size_t>(ScreenBytes(picture.screenMode))) {
            throw std::invalid_argument(picture.stem + " is not a MODE " +
                                        std::to_string(picture.screenMode) + " screen");
        }
        const std::uint32_t address = ScreenLoadAddress(picture.screenMode);
        files.push_back({slides[i].name, address, address, picture.screen});
    }
    return files;
}

std::string DiscName(int tracks) {
    return (tracks == 80 ? "an " : "a ") + std::to_string(tracks) + "-track disc";
}

}  // namespace

int PicturesThatFit(int screenMode, int tracks) {
    // Only the MODE counts here: the names and the loader are those of same-named pictures.
    const DiscPicture picture{"P", screenMode, DefaultPalette(screenMode), {}};
    std::vector<DiscPicture> pictures;
    while (true) {
        pictures.push_back(picture);
        if (!Fits(pictures, pictures.size(), tracks)) return static_cast<int>(pictures.size()) - 1;
    }
}

std::vector<std::uint8_t> MakeSlideshowDisc(const std::string& title,
                                            const std::vector<DiscPicture>& pictures, int tracks) {
    if (tracks != 40 && tracks != 80) throw std::invalid_argument("a disc has 40 or 80 tracks");
    for (std::size_t count = 1; count <= pictures.size(); ++count) {
        if (Fits(pictures, count, tracks)) continue;
        const int mode = pictures[count - 1].screenMode;
        const int fit = PicturesThatFit(mode, tracks);
        throw DiscSpaceError("the disc is full: " + std::to_string(pictures.size()) +
                             " pictures do not fit; " + DiscName(tracks) + " holds " +
                             std::to_string(fit) + " pictures in MODE " + std::to_string(mode));
    }
    return MakeDfsImage(title, DfsBootOption::Exec, tracks, FilesOf(pictures));
}

void WriteSlideshowDisc(const std::string& path, const std::vector<DiscPicture>& pictures,
                        int tracks) {
    std::vector<std::uint8_t> image;
    try {
        image = MakeSlideshowDisc(DfsTitleFor(std::filesystem::path(path).stem().string()),
                                  pictures, tracks);
    } catch (const std::exception& error) {
        throw FileError(path, error.what());
    }
    AtomicFile disc(path);
    disc.Write(image.data(), image.size());
    disc.Commit();
}
