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

// A bootable disc image: !BOOT (see BootScript.h) first, then each bitmap picture as a file named
// after its stem (DiscNames.h) that loads at its screen address in host memory, executes there,
// and is as long as its MODE's screen; then, when there are MODE 7 pictures, their pages one
// after the other in one file (TeletextPages.h). When they do not fit, raises DiscSpaceError whose message
// says how many pictures of the first MODE that overflows fit on a disc of that size.
std::vector<std::uint8_t> MakeSlideshowDisc(const std::string& title,
                                            const std::vector<DiscPicture>& pictures, int tracks);

// How many pictures of one MODE a disc of that many tracks holds, beside its !BOOT.
int PicturesThatFit(int screenMode, int tracks);

// Writes the disc image to path as a whole or not at all, titled after path's file name. Every
// failure, a disc that is full included, raises FileError naming path and the reason; nothing
// is written then.
void WriteSlideshowDisc(const std::string& path, const std::vector<DiscPicture>& pictures,
                        int tracks);
