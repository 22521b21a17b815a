#pragma once

#include "colour/Palette.h"
#include "screen/PackLine.h"
#include "screen/ScreenGeometry.h"

// What the ordered conversion makes of each of the eight on/off colours (blue << 2 | green << 1 |
// red) and of kOutsideGrid, as a ColourLookup.

// The classic match: the MODE's default logical colour that differs from the on/off colour in
// the fewest components, the lowest on a tie; kOutsideGrid is logical colour 0.
ColourLookup ClassicLookup(ScreenMode screenMode);

// Each on/off colour takes the palette colour nearest to it in CIELAB; kOutsideGrid is logical
// colour 0.
ColourLookup NearestPaletteLookup(const Palette& palette);
