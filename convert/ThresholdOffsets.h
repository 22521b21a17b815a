#pragma once

#include <cstdint>

#include "convert/ConversionChoices.h"
#include "sample/BoundedTable.h"

// A 4 x 4 tone pattern: the ranks 0..15, indexed (x, y); declared (0..4, 0..4), of which only
// 0..3 by 0..3 is used.
using TonePattern = BoundedTable<std::int16_t, 4, 4>;

// The four halftone patterns.
const TonePattern& FinePattern();
const TonePattern& CoarsePattern();
const TonePattern& SpiralPattern();
const TonePattern& DiagonalPattern();

// Halftone offsets -115..114 indexed (column mod 16, scan line mod 16); declared (0..16, 0..16),
// index 16 never used.
using ThresholdOffsets = BoundedTable<std::int16_t, 16, 16>;

// The offsets a pattern spreads over 16 x 16: its ranks grown to 8 x 8 and again to 16 x 16, so
// that every rank 0..255 appears once, then scaled to -115..114. All zero without a pattern.
ThresholdOffsets ThresholdOffsetsOf(const TonePattern* pattern);

// The offsets of a halftone: ThresholdOffsetsOf its pattern.
ThresholdOffsets ThresholdOffsetsFor(Halftone halftone);
