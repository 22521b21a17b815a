#pragma once

#include <cstdint>

#include "convert/ThresholdOffsets.h"
#include "sample/BoundedTable.h"
#include "sample/Samples.h"

// The window's conversion state and its colour-reduction procedures: the tables its Convert
// command works through, each a thin procedure over the conversion's own functions. All tables
// are zero at start and live for the whole run.
namespace Module1 {

// The picture sampled onto the 320 x 256 grid, as blue, green and red intensities 0..255, indexed
// (x, y). Column 320 and row 256 exist but are never written.
using SamplePlane = ::SamplePlane;
using SampleGridPlanes = SamplePlanes;
extern SampleGridPlanes SampleGrid;

// 0/1 colour-component bits by (component, mode, logical colour): component 0 blue, 1 green,
// 2 red; mode 0..6; logical colour 0..8.
extern BoundedTable<std::int16_t, 2, 6, 8> PaletteBits;

// The 4 x 4 tone patterns of the ranks 0..15, indexed (x, y); only 0..3 by 0..3 is used.
using TonePattern = ::TonePattern;
extern TonePattern PatternFine;
extern TonePattern PatternCoarse;
extern TonePattern PatternSpiral;
extern TonePattern PatternDiagonal;

// Halftone offsets -115..114 indexed (column mod 16, scan line mod 16); index 16 is never used.
extern ThresholdOffsets ThresholdTable;

// Stores the palette bits of every mode (each MODE's default palette) and the four tone patterns.
// Running it again changes nothing.
void InitTables();

// Rewrites ThresholdTable(0..15, 0..15) for the current ToneStyle from the tone patterns.
void BuildThresholdTable();

// The logical colour 0..colourCount-1 of the current ScreenMode that differs from the sample in
// the fewest components (the lowest index on a tie); previewColour receives its display colour
// (red in bits 0..7, green 8..15, blue 16..23). Raises SubscriptOutOfRange for a colourCount
// outside 1..9 or a mode outside 0..6.
std::int16_t NearestColour(std::int16_t blue, std::int16_t green, std::int16_t red,
                           std::int16_t colourCount, std::int32_t& previewColour);

}  // namespace Module1
