#include "disc/SlideshowDisc.h"

#include <algorithm>
#include <cctype>
#include <filesystem>

#include "compress/UnpackRoutine.h"
#include "disc/BootScript.h"
#include "disc/DfsImage.h"
#include "disc/DiscNames.h"
#include "disc/DsdImage.h"
#include "disc/ScreenOnDisc.h"
#include "disc/UnpackingLoader.h"
#include "platform/files/AtomicFile.h"
#include "screen/ScreenGeometry.h"

namespace {

constexpr const char* kSecondDrive = ":2.";

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
    return GeometryOf(screenMode).screenBytes;
}

// Whether the first count pictures fit, as they are, beside the !BOOT they need.
bool Fits(const std::vector<DiscPicture>& pictures, std::size_t count, int tracks) {
    if (count + 1 > kDfsMaxFiles) return false;
    const std::vector<LoaderSlide> slides = SlidesOf(pictures, count);
    int sectors = SectorsFor(BootScript(slides).size());
    for (const LoaderSlide& slide : slides) sectors += SectorsFor(ScreenBytes(slide.screenMode));
    return sectors <= FileSectors(tracks);
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

std::vector<ScreenOnDisc> FilesFor(const std::vector<DiscPicture>& pictures, bool compress) {
    std::vector<ScreenOnDisc> files;
    for (const DiscPicture& picture : pictures) {
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
    for (std::size_t i = 0; i < files.size(); ++i) slides[i].packedEnd = files[i].packedEnd;
    const bool packed = AnyPacked(slides);
    const std::vector<std::uint8_t> routine =
        packed ? UnpackRoutine() : std::vector<std::uint8_t>{};

    // Room for the loader as long as it can be: every picture on the second side.
    std::vector<LoaderSlide> longest = slides;
    if (format.doubleSided) {
        for (LoaderSlide& slide : longest) slide.name = kSecondDrive + slide.name;
    }
    const int loader = SectorsFor(BootScript(longest).size()) + SectorsFor(routine.size());
    std::vector<Side> sides{{FileSectors(format.tracks) - loader, kDfsMaxFiles - 1 - packed, {}}};
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
    if (next < files.size()) {
        if (!format.doubleSided && !format.compress) throw FullDisc(pictures, format);
        throw DiscSpaceError("the disc is full: " + std::to_string(pictures.size()) +
                             " pictures do not fit; " + DiscName(format) + " holds the first " +
                             std::to_string(next) + " of them" +
                             (format.compress ? ", compressed" : ""));
    }

    // The second side first, so that the loader knows which pictures are on drive 2.
    std::vector<std::vector<std::uint8_t>> images(sides.size());
    for (std::size_t s = 1; s < sides.size(); ++s) {
        std::vector<DfsFile> dfs;
        for (const std::size_t i : sides[s].pictures) {
            dfs.push_back(
                {slides[i].name, files[i].loadAddress, files[i].loadAddress, files[i].data});
            slides[i].name = kSecondDrive + slides[i].name;
        }
        images[s] = MakeDfsImage(title, DfsBootOption::None, format.tracks, dfs);
    }
    const std::string script = BootScript(slides);
    std::vector<DfsFile> first{
        {"!BOOT", 0, 0, std::vector<std::uint8_t>(script.begin(), script.end())}};
    if (packed) {
        const std::uint32_t address = 0xFFFF0000 | kUnpackRoutineAddress;
        first.push_back({kUnpackFileName, address, address, routine});
    }
    for (const std::size_t i : sides[0].pictures) {
        first.push_back(
            {slides[i].name, files[i].loadAddress, files[i].loadAddress, files[i].data});
    }
    images[0] = MakeDfsImage(title, DfsBootOption::Exec, format.tracks, first);

    SlideshowImage result;
    result.summary.sectorsFree = static_cast<int>(sides.size()) * FileSectors(format.tracks);
    result.summary.sectorsUsed = SectorsFor(script.size()) + SectorsFor(routine.size());
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
