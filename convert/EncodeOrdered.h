#pragma once

#include <cstdint>
#include <vector>

#include "convert/ThresholdOffsets.h"
#include "sample/Samples.h"
#include "screen/PackLine.h"
#include "screen/ScreenGeometry.h"

class PictureBox;

// The part of the sample grid an ordered conversion reads. With scaleToGrid each MODE's columns
// are mapped onto the grid's (MODE 0 two to a grid column, MODEs 2 and 5 one to two, averaged);
// without it mode column x reads grid column x. Pixels right of width are logical colour 0 and
// scan lines from height down are zero bytes, neither plotted. The whole grid unless a caller
// says otherwise.
struct GridReach {
    bool scaleToGrid = true;
    int width = kGridColumns;
    int height = kGridRows;
};

// How the ordered conversion tones: the halftone offsets (added to every channel, or shifted for
// green and red with stagger) and the logical colour of each on/off colour the thresholded
// channels make.
struct OrderedTones {
    ThresholdOffsets offsets;
    bool stagger = false;
    ColourLookup colours;
    GridReach reach;
};

// The screen memory of the MODE, in the BBC Micro's byte order, with each channel of each pixel's
// samples (MODEs 2 and 5: the mean of the two it covers, rounded down) plus its halftone offset
// clamped to 0..255 and thresholded at 128; every converted pixel is plotted into preview (at
// least 320 x 256) on the grid: in MODE 0 the odd column of each pair shows, in MODEs 2 and 5
// both grid columns. A reach beyond the planes' bounds raises SubscriptOutOfRange; a MODE other
// than 0, 1, 2, 4, 5 raises std::invalid_argument.
std::vector<std::uint8_t> EncodeOrdered(const SamplePlanes& samples, ScreenMode screenMode,
                                        const OrderedTones& tones, PictureBox& preview);
