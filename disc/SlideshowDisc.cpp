#include "disc/SlideshowDisc.h"

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <stdexcept>

#include "compress/UnpackRoutine.h"
#include "disc/BootScript.h"
#include "disc/DfsImage.h"
#include "disc/DiscNames.h"
#include "disc/DsdImage.h"
#include "disc/ScreenOnDisc.h"
#include "disc/TeletextPages.h"
#include "disc/UnpackingLoader.h"
#include "platform/files/AtomicFile.h"
#include "screen/ScreenGeometry.h"
#include "screen/TeletextPage.h"

namespace {

constexpr const char* kSecondDrive = ":2.";

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
        LoaderSlide slide{"", pictures[i].screenMode, pictures[i].palette};
        if (IsPage(pictures[i])) {
            slide.page = pages++;
        } else {
            slide.name = names[files++];
        }
        slides.push_back(slide);
    }
    return slides;
}

int PageCount(const std::vector<LoaderSlide>& slides) {
    return static_cast<int>(std::count_if(
        slides.begin(), slides.end(), [](const LoaderSlide& slide) { return slide.page >= 0; }));
}

// The pages file's sectors, none without pages.
int PagesSectors(int pages) {
    return SectorsFor(static_cast<std::size_t>(pages) * kTeletextPageBytes);
}

// The catalogue entries and sectors of a single-sided disc of these slides.
struct DiscUse {
    std::size_t files;
    int sectors;
};

// With each bitmap slide's file taking the room given (one per slide).
DiscUse UseOf(std::vector<LoaderSlide> slides, const std::vector<ScreenFileSpace>& files) {
    if (files.size() != slides.size()) {
        throw std::invalid_argument("the room of every picture's file is needed");
    }
    int screens = 0;
    for (std::size_t i = 0; i < slides.size(); ++i) {
        if (slides[i].page >= 0) continue;
        slides[i].packedEnd = files[i].packedEnd;  // the loader's text names it
        screens += files[i].sectors;
    }
    const int pages = PageCount(slides);
    const bool packed = AnyPacked(slides);
    return {1 + packed + (slides.size() - static_cast<std::size_t>(pages)) + (pages > 0),
            SectorsFor(BootScript(slides).size()) +
                (packed ? SectorsFor(UnpackRoutine().size()) : 0) + PagesSectors(pages) + screens};
}

// With every screen as it is.
DiscUse UseOf(const std::vector<LoaderSlide>& slides) {
    std::vector<ScreenFileSpace> files;
    for (const LoaderSlide& slide : slides) {
        files.push_back(
            slide.page >= 0
                ? ScreenFileSpace{}
                : ScreenFileSpace{SectorsFor(ScreenMemoryOf(slide.screenMode).screenBytes), 0});
    }
    return UseOf(slides, files);
}

// Whether the first count pictures fit, as they are, beside the !BOOT (and the pages file) they
// need.
bool Fits(const std::vector<DiscPicture>& pictures, std::size_t count, int tracks) {
    const DiscUse use = UseOf(SlidesOf(pictures, count));
    return use.files <= kDfsMaxFiles && use.sectors <= FileSectors(tracks);
}

std::string DiscName(const DiscFormat& format) {
    return (format.doubleSided    ? "a double-sided "
            : format.tracks == 80 ? "an "
                                  : "a ") +
           std::to_string(format.tracks) + "-track disc";
}

// The refusal of a single-sided disc of screens as they are, naming the MODE that overflows.
DiscSpaceError FullDisc(const std::vector<DiscPicture>& pictures, const DiscFormat& format) {
    std::size_t count = 1;
    while (count < pictures.size() && Fits(pictures, count, format.tracks)) ++count;
    const int mode = pictures[count - 1].screenMode;
    return DiscSpaceError("the disc is full: " + std::to_string(pictures.size()) +
                          " pictures do not fit; " + DiscName(format) + " holds " +
                          std::to_string(PicturesThatFit(mode, format.tracks)) +
                          " pictures in MODE " + std::to_string(mode));
}

// Each bitmap picture's file, in order (MODE 7 pages go in the pages file instead).
std::vector<ScreenOnDisc> FilesFor(const std::vector<DiscPicture>& pictures, bool compress) {
    std::vector<ScreenOnDisc> files;
    for (const DiscPicture& picture : pictures) {
        if (IsPage(picture)) {
            if (picture.screen.size() != static_cast<std::size_t>(kTeletextPageBytes))
                throw std::invalid_argument(picture.stem + " is not a MODE 7 screen");
            continue;
        }
        try {
            files.push_back(ScreenFileFor(picture.screen, picture.screenMode, compress));
        } catch (const PackingError& error) {
            throw PackingError(picture.stem + ": " + error.what());
        } catch (const std::invalid_argument&) {
            throw std::invalid_argument(picture.stem + " is not a MODE " +
                                        std::to_string(picture.screenMode) + " screen");
        }
    }
    return files;
}

// One side's room: sectors and catalogue entries left for pictures.
struct Side {
    int sectors;
    int entries;
    std::vector<std::size_t> pictures;
};

}  // namespace

int SlideshowFileSectors(const std::vector<DiscPicture>& pictures,
                         const std::vector<ScreenFileSpace>& files) {
    return UseOf(SlidesOf(pictures, pictures.size()), files).sectors;
}

std::size_t SlideshowFileCount(const std::vector<DiscPicture>& pictures,
                               const std::vector<ScreenFileSpace>& files) {
    return UseOf(SlidesOf(pictures, pictures.size()), files).files;
}

bool IsDoubleSidedName(const std::string& path) {
    std::string extension = std::filesystem::path(path).extension().string();
    for (char& c : extension) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return extension == ".dsd";
}

int PicturesThatFit(int screenMode, int tracks) {
    // Only the MODE counts here: the names and the loader are those of same-named pictures.
    const DiscPicture picture{"P", screenMode, DefaultPalette(screenMode), {}};
    std::vector<DiscPicture> pictures;
    while (true) {
        pictures.push_back(picture);
        if (!Fits(pictures, pictures.size(), tracks)) return static_cast<int>(pictures.size()) - 1;
    }
}

SlideshowImage MakeSlideshowImage(const std::string& title,
                                  const std::vector<DiscPicture>& pictures,
                                  const DiscFormat& format) {
    if (format.tracks != 40 && format.tracks != 80) {
        throw std::invalid_argument("a disc has 40 or 80 tracks");
    }
    const std::vector<ScreenOnDisc> files = FilesFor(pictures, format.compress);
    std::vector<LoaderSlide> slides = SlidesOf(pictures, pictures.size());
    // The bitmap slides, in order, each with its file in files.
    std::vector<std::size_t> bitmaps;
    std::vector<std::uint8_t> pages;
    for (std::size_t i = 0; i < pictures.size(); ++i) {
        if (slides[i].page >= 0) {
            pages.insert(pages.end(), pictures[i].screen.begin(), pictures[i].screen.end());
        } else {
            slides[i].packedEnd = files[bitmaps.size()].packedEnd;
            bitmaps.push_back(i);
        }
    }
    const bool packed = AnyPacked(slides);
    const std::vector<std::uint8_t> routine =
        packed ? UnpackRoutine() : std::vector<std::uint8_t>{};

    // Room for the loader as long as it can be: every picture on the second side.
    std::vector<LoaderSlide> longest = slides;
    if (format.doubleSided) {
        for (LoaderSlide& slide : longest)
            if (slide.page < 0) slide.name = kSecondDrive + slide.name;
    }
    // The pages file stays on the first side, beside the loader that opens it.
    const int loader = SectorsFor(BootScript(longest).size()) + SectorsFor(routine.size()) +
                       SectorsFor(pages.size());
    std::vector<Side> sides{
        {FileSectors(format.tracks) - loader, kDfsMaxFiles - 1 - packed - !pages.empty(), {}}};
    if (format.doubleSided) sides.push_back({FileSectors(format.tracks), kDfsMaxFiles, {}});
    std::size_t next = 0;
    for (Side& side : sides) {
        while (next < files.size() && side.entries > 0 &&
               SectorsFor(files[next].data.size()) <= side.sectors) {
            side.sectors -= SectorsFor(files[next].data.size());
            --side.entries;
            side.pictures.push_back(next++);
        }
    }
    if (next < files.size() || sides[0].sectors < 0 || sides[0].entries < 0) {
        if (!format.doubleSided && !format.compress) throw FullDisc(pictures, format);
        // The pictures before the first that did not fit; none when the pages alone overflow.
        const std::size_t fitting = sides[0].sectors < 0 || sides[0].entries < 0 ? 0
                                    : next < bitmaps.size()                      ? bitmaps[next]
                                                                                 : pictures.size();
        throw DiscSpaceError("the disc is full: " + std::to_string(pictures.size()) +
                             " pictures do not fit; " + DiscName(format) + " holds the first " +
                             std::to_string(fitting) + " of them" +
                             (format.compress ? ", compressed" : ""));
    }

    // The second side first, so that the loader knows which pictures are on drive 2.
    std::vector<std::vector<std::uint8_t>> images(sides.size());
    for (std::size_t s = 1; s < sides.size(); ++s) {
        std::vector<DfsFile> dfs;
        for (const std::size_t f : sides[s].pictures) {
            LoaderSlide& slide = slides[bitmaps[f]];
            dfs.push_back({slide.name, files[f].loadAddress, files[f].loadAddress, files[f].data});
            slide.name = kSecondDrive + slide.name;
        }
        images[s] = MakeDfsImage(title, DfsBootOption::None, format.tracks, dfs);
    }
    const std::string script = BootScript(slides);
    std::vector<DfsFile> first{
        {"!BOOT", 0, 0, std::vector<std::uint8_t>(script.begin(), script.end())}};
    if (packed) {
        first.push_back({kUnpackFileName, kUnpackFileAddress, kUnpackFileAddress, routine});
    }
    for (const std::size_t f : sides[0].pictures) {
        const LoaderSlide& slide = slides[bitmaps[f]];
        first.push_back({slide.name, files[f].loadAddress, files[f].loadAddress, files[f].data});
    }
    if (!pages.empty()) first.push_back({kPagesFileName, 0, 0, pages});
    images[0] = MakeDfsImage(title, DfsBootOption::Exec, format.tracks, first);

    SlideshowImage result;
    result.summary.sectorsFree = static_cast<int>(sides.size()) * FileSectors(format.tracks);
    result.summary.sectorsUsed =
        SectorsFor(script.size()) + SectorsFor(routine.size()) + SectorsFor(pages.size());
    for (const ScreenOnDisc& file : files)
        result.summary.sectorsUsed += SectorsFor(file.data.size());
    result.summary.pictures = static_cast<int>(pictures.size());
    result.summary.packedPictures = static_cast<int>(
        std::count_if(files.begin(), files.end(), [](const auto& f) { return f.packed; }));
    result.image = format.doubleSided ? InterleaveSides(images[0], images[1]) : images[0];
    return result;
}

std::vector<std::uint8_t> MakeSlideshowDisc(const std::string& title,
                                            const std::vector<DiscPicture>& pictures, int tracks) {
    return MakeSlideshowImage(title, pictures, {tracks, false, false}).image;
}

DiscSummary WriteSlideshowDisc(const std::string& path, const std::vector<DiscPicture>& pictures,
                               const DiscFormat& format) {
    SlideshowImage disc;
    try {
        disc = MakeSlideshowImage(DfsTitleFor(std::filesystem::path(path).stem().string()),
                                  pictures, format);
    } catch (const std::exception& error) {
        throw FileError(path, error.what());
    }
    AtomicFile file(path);
    file.Write(disc.image.data(), disc.image.size());
    file.Commit();
    return disc.summary;
}

void WriteSlideshowDisc(const std::string& path, const std::vector<DiscPicture>& pictures,
                        int tracks) {
    WriteSlideshowDisc(path, pictures, DiscFormat{tracks, false, false});
}
