#pragma once

#include <string>
#include <vector>

#include "disc/SlideshowDisc.h"

// The loader program's name on a tape: longer than any picture's name, so never one of them.
inline constexpr const char* kTapeLoaderName = "SLIDESHOW";

// A slideshow tape image (.uef, see UefTape.h): the loader as a BASIC program that CHAIN""
// loads and runs, then, when any screen is packed, the unpacking routine !UNPACK, then the
// pictures in order, named as on a disc (DiscNames.h) and packed as there with compress
// (ScreenOnDisc.h). The loader is the disc's !BOOT program (BootScript.h) for a tape: it shows
// each picture once, until a key is pressed, then returns to BASIC. Raises PackingError when a
// packed screen would not unpack to its picture and std::invalid_argument for a screen that is
// not its MODE's length.
std::vector<std::uint8_t> MakeSlideshowTape(const std::vector<DiscPicture>& pictures,
                                            bool compress);

// Writes the tape image to path whole or not at all; every failure raises FileError naming path
// and the reason.
void WriteSlideshowTape(const std::string& path, const std::vector<DiscPicture>& pictures,
                        bool compress);
