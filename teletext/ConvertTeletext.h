#pragma once

#include <cstdint>
#include <vector>

#include "sample/Samples.h"
#include "screen/EncodedScreen.h"
#include "teletext/SixelTargets.h"

// The samples as a MODE 7 page: the picture spread over the 78 x 75 sixels of the picture area
// (TargetsOf), each row solved by RowSolver from the top, and what each row gets wrong handed on,
// in linear light, to the sixels below it. The result holds the 1000-byte page, the eight
// colours as its palette and, as its preview, the monitor's picture (DisplayTeletext) at half
// size.
EncodedScreen ConvertTeletext(const SamplePlanes& samples);

// The page alone, from targets already made.
std::vector<std::uint8_t> SolveTeletextPage(const SixelTargets& targets);
