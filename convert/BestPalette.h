#pragma once

#include "colour/LinearPicture.h"
#include "colour/Palette.h"
#include "convert/ErrorDiffusion.h"

// Of all the ways to choose colourCount of the eight colours (28 pairs, 70 fours), the one under
// which the picture, diffused with the kernel (Floyd-Steinberg when Off), looks most like
// itself: least mean CIEDE2000 difference between blocks of the two four lines tall, as the eye
// blends a dither. Every choice is tried on a few tiles cut from the picture at its own
// resolution and the six best again on many more, which ranks the palettes as the full picture
// does at a small part of the cost. The colours come in ascending physical order, so black, when
// chosen, stays logical colour 0.
Palette BestPalette(const LinearPicture& picture, int colourCount, Diffusion kernel);

// The mean CIEDE2000 difference between the blocks of a picture and of its diffusion onto the
// palette: the score BestPalette minimises.
double DiffusedDifference(const LinearPicture& picture, const Palette& palette, Diffusion kernel);
