#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "colour/Palette.h"

// One picture of a slideshow as the loader shows it.
struct LoaderSlide {
    std::string name;  // its file name: the DFS name, with ":2." before it on a disc's second side
    int screenMode = 2;
    Palette palette;  // logical colour -> physical colour; the MODE's default needs no VDU 19
    // For a packed screen (UnpackingLoader.h), the address just past its file; 0 for a screen
    // loaded as it is.
    std::uint32_t packedEnd = 0;
    // On a disc, a MODE 7 slide's place in the pages file (TeletextPages.h); -1 for a slide loaded
    // from a file of its own.
    int page = -1;
};

// Where the loader runs from: a disc shows the pictures round and round; a tape, which cannot
// go back, once, without the filing system's messages.
enum class LoaderMedium { Disc, Tape };

// The text of !BOOT, which SHIFT+BREAK runs with *EXEC (boot option 3): it types a short BASIC
// program in and runs it, with the screen output off while it is typed. For each picture the
// program sets its MODE, turns the cursor off, sets the colours that differ from the MODE's
// default (VDU 19), loads the picture straight into screen memory (host memory, &FFFF3000 or
// &FFFF5800) and waits for a key. A slideshow then shows the next picture, and after the last
// the first again; a single picture goes back to MODE 7 and the BASIC prompt. ESCAPE stops the
// show at any time; any other error is reported in MODE 7. Lines end with CR, as on the BBC.
// MODE 7 slides in the pages file are copied from it, each run of them in one line that loops
// over its pages, so that the program stays short however many there are. With packed screens,
// the program first loads the unpacking routine (UnpackingLoader.h).
std::string BootScript(const std::vector<LoaderSlide>& slides,
                       LoaderMedium medium = LoaderMedium::Disc);

// The statements that set the colours of a slide that differ from its MODE's default:
// ":VDU19,1,4;0;..." (each with its leading colon), or nothing.
std::string PaletteStatements(const LoaderSlide& slide);

// The address the screen of a MODE is loaded at, in host memory: &FFFF3000 or &FFFF5800.
std::uint32_t ScreenLoadAddress(int screenMode);
