#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "colour/Palette.h"

// One picture of a slideshow as the loader shows it.
struct LoaderSlide {
    std::string name;  // its DFS name
    int screenMode = 2;
    Palette palette;  // logical colour -> physical colour; the MODE's default needs no VDU 19
    int page = -1;    // MODE 7: where its page lies in the pages file (TeletextPages.h)
};

// The text of !BOOT, which SHIFT+BREAK runs with *EXEC (boot option 3): it types a short BASIC
// program in and runs it, with the screen output off while it is typed. For each picture the
// program sets its MODE, turns the cursor off, sets the colours that differ from the MODE's
// default (VDU 19), loads the picture straight into screen memory (host memory, &FFFF3000 or
// &FFFF5800) and waits for a key. A slideshow then shows the next picture, and after the last
// the first again; a single picture goes back to MODE 7 and the BASIC prompt. ESCAPE stops the
// show at any time; any other error is reported in MODE 7. Lines end with CR, as on the BBC.
// MODE 7 slides are copied from the pages file, each run of them in one line that loops over
// its pages, so that the program stays short however many there are.
std::string BootScript(const std::vector<LoaderSlide>& slides);

// The address the screen of a MODE is loaded at, in host memory: &FFFF3000 or &FFFF5800.
std::uint32_t ScreenLoadAddress(int screenMode);
