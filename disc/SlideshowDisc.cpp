#include "disc/SlideshowDisc.h"

#include <algorithm>
#include <filesystem>

#include "disc/BootScript.h"
#include "disc/DfsImage.h"
#include "disc/DiscNames.h"
#include "disc/TeletextPages.h"
#include "platform/files/AtomicFile.h"
#include "screen/ScreenGeometry.h"
#include "screen/TeletextPage.h"

namespace {

bool IsPage(const DiscPicture& picture) {
    return picture.screenMode == ModeNumber(ScreenMode::Mode7);
}

// The loader's view of the first count pictures: the bitmap ones with their DFS names, the
// MODE 7 ones with their places in the pages file.
std::vector<LoaderSlide> SlidesOf(const std::vector<DiscPicture>& pictures, std::size_t count) {
    std::vector<std::string> stems;
    for (std::size_t i = 0; i < count; ++i)
        if (!IsPage(pictures[i])) stems.push_back(pictures[i].stem);
    const std::vector<std::string> names = DfsNamesFor(stems);
    std::vector<LoaderSlide> slides;
    int files = 0, pages = 0;
    for (std::size_t i = 0; i < count; ++i) {
        if (IsPage(pictures[i])) {
            slides.push_back({"", pictures[i].screenMode, pictures[i].palette, pages++});
        } else {
            slides.push_back({names[files++], pictures[i].screenMode, pictures[i].palette});
        }
    }
    return slides;
}

int PageCount(const std::vector<LoaderSlide>& slides) {
    return static_cast<int>(std::count_if(slides.begin(), slides.end(),
                                          [](const LoaderSlide& slide) { return slide.page >= 0; }));
}

int ScreenBytes(int screenMode) {
    return ScreenMemoryOf(screenMode).screenBytes;
}

// Whether the first count pictures fit, beside the !BOOT (and the pages file) they need.
bool Fits(const std::vector<DiscPicture>& pictures, std::size_t count, int tracks) {
    const std::vector<LoaderSlide> slides = SlidesOf(pictures, count);
    const int pages = PageCount(slides);
    const std::size_t files = 1 + (slides.size() - static_cast<std::size_t>(pages)) + (pages > 0);
    if (files > kDfsMaxFiles) return false;
    int sectors = SectorsFor(BootScript(slides).size()) +
                  SectorsFor(static_cast<std::size_t>(pages) * kTeletextPageBytes);
    for (const LoaderSlide& slide : slides)
        if (slide.page < 0) sectors += SectorsFor(ScreenBytes(slide.screenMode));
    return sectors <= FileSectors(tracks);
}

std::vector<DfsFile> FilesOf(const std::vector<DiscPicture>& pictures) {
    const std::vector<LoaderSlide> slides = SlidesOf(pictures, pictures.size());
    const std::string script = BootScript(slides);
    std::vector<DfsFile> files{
        {"!BOOT", 0, 0, std::vector<std::uint8_t>(script.begin(), script.end())}};
    std::vector<std::uint8_t> pages;
    for (std::size_t i = 0; i < pictures.size(); ++i) {
        const DiscPicture& picture = pictures[i];
        if (picture.screen.size() != static_cast<std::size_t>(ScreenBytes(picture.screenMode))) {
            throw std::invalid_argument(picture.stem + " is not a MODE " +
                                        std::to_string(picture.screenMode) + " screen");
        }
        if (IsPage(picture)) {
            pages.insert(pages.end(), picture.screen.begin(), picture.screen.end());
            continue;
        }
        const std::uint32_t address = ScreenLoadAddress(picture.screenMode);
        files.push_back({slides[i].name, address, address, picture.screen});
    }
    if (!pages.empty()) files.push_back({kPagesFileName, 0, 0, std::move(pages)});
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
