#pragma once

#include <cstdint>
#include <string>
#include <vector>

// MODE 7 slides do not take a catalogue entry each: their 1000-byte pages lie back to back in
// one file, and the loader copies each page in turn from the file straight into screen memory
// (OSGBPB 3, reading at the page's place in the file), so a disc holds as many as its sectors
// allow, whatever the catalogue's 31 files.
inline constexpr const char* kPagesFileName = "!PAGES";  // no picture's name: those are A-Z, 0-9

// The statements the loader needs for pages: opening the file once (before the first slide),
// the line that shows a run of consecutive pages first..last (indexes into the file), a key for
// each, and the procedure that copies one page.
std::string OpenPagesStatement();
std::string PageRunStatement(int first, int last);
std::string CopyPageProcedure();
