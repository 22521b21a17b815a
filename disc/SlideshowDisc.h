#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "colour/Palette.h"

// A converted picture for a disc: the screen memory of its MODE, byte for byte as the screen file
// holds it, and the colours it is shown in.
struct DiscPicture {
    std::string stem;  // the picture's file name without folder and extension
    int screenMode = 2;
    Palette palette;
    std::vector<std::uint8_t> screen;
};

// The tracks of a disc unless told otherwise; 40 is the other size.
inline constexpr int kDefaultTracks = 80;

// How a slideshow goes on a disc. The default is a single-sided disc of screens as they are.
struct DiscFormat {
    int tracks = kDefaultTracks;
    // Two sides (.dsd): what does not fit on the first side goes on the second, drive 2.
    bool doubleSided = false;
    // Each screen packed (disc/ScreenOnDisc.h) where that saves a sector.
    bool compress = false;
};

// What a disc holds, for a capacity report.
struct DiscSummary {
    int pictures = 0;
    int packedPictures = 0;
    int sectorsUsed = 0;  // by every file, the loader's included
    int sectorsFree = 0;  // for files on an empty disc of the format, both sides
};

struct SlideshowImage {
    std::vector<std::uint8_t> image;
    DiscSummary summary;
};

// The room a bitmap picture's file takes, for counting a disc without making it: its sectors and,
// when packed, the address just past it (ScreenOnDisc.h), which the loader names; 0 as it is.
struct ScreenFileSpace {
    int sectors = 0;
    std::uint32_t packedEnd = 0;
};

// The sectors and catalogue entries the files of a single-sided slideshow disc take: !BOOT, each
// bitmap picture's file taking the room given, one per picture (a MODE 7 picture's is ignored:
// its page goes in the pages file), the pages file, and !UNPACK when any is packed: with
// ScreenFileFor's files, what MakeSlideshowImage's summary of a single-sided disc counts, whether
// they fit or not. Raises std::invalid_argument when there is not one per picture.
int SlideshowFileSectors(const std::vector<DiscPicture>& pictures,
                         const std::vector<ScreenFileSpace>& files);
std::size_t SlideshowFileCount(const std::vector<DiscPicture>& pictures,
                               const std::vector<ScreenFileSpace>& files);

// Whether a disc file's name asks for a double-sided image: it ends in ".dsd", in any case.
bool IsDoubleSidedName(const std::string& path);

// A bootable disc image: !BOOT (see BootScript.h) first, then, when any screen is packed, the
// unpacking routine !UNPACK, then each bitmap picture as a file named after its stem
// (DiscNames.h), then, when there are MODE 7 pictures, their pages one after the other in one
// file (TeletextPages.h). A screen as it is loads at its screen address in host memory, executes
// there, and is as long as its MODE's screen; a packed one loads just below the screen's end. On
// a double-sided disc the bitmap pictures fill the first side in order and go on on the second,
// whose catalogue boots nothing; the pages file stays on the first.
// When they do not fit, raises DiscSpaceError: for a single-sided disc of screens as they are,
// its message says how many pictures of the first MODE that overflows fit on a disc of that
// size; otherwise how many of the pictures, in order, fit. Raises PackingError (naming the
// picture) when a packed screen would not unpack to its picture: that disc is refused.
SlideshowImage MakeSlideshowImage(const std::string& title,
                                  const std::vector<DiscPicture>& pictures,
                                  const DiscFormat& format);

// MakeSlideshowImage's image of a single-sided disc of screens as they are.
std::vector<std::uint8_t> MakeSlideshowDisc(const std::string& title,
                                            const std::vector<DiscPicture>& pictures, int tracks);

// How many pictures of one MODE a disc of that many tracks holds, beside its !BOOT.
int PicturesThatFit(int screenMode, int tracks);

// Writes the disc image to path as a whole or not at all, titled after path's file name, and
// says what it holds. Every failure, a disc that is full or a refused packing included, raises
// FileError naming path and the reason; nothing is written then.
DiscSummary WriteSlideshowDisc(const std::string& path, const std::vector<DiscPicture>& pictures,
                               const DiscFormat& format);
void WriteSlideshowDisc(const std::string& path, const std::vector<DiscPicture>& pictures,
                        int tracks);
