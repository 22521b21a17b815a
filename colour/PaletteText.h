#pragma once

#include <optional>
#include <string>

#include "colour/Palette.h"

// The names of the eight physical colours, as the command line spells them: "black", "red",
// "green", "yellow", "blue", "magenta", "cyan", "white".
const char* PhysicalColourName(int physical);

// The physical colours of a comma-separated list such as "black,blue,cyan,white", in the given
// order (upper or lower case). Nothing for an empty list or an unknown name.
std::optional<Palette> ParsePaletteList(const std::string& list);

// The VDU 19 commands that give a MODE's logical colours the palette's physical colours, one
// command for each logical colour that differs from the MODE's default, on one line:
// "VDU 19,1,4;0;19,2,6;0;". Empty when the palette is the MODE's default.
std::string Vdu19Line(const Palette& palette, int screenMode);
