#pragma once

#include <cstdint>
#include <vector>

#include "colour/LinearPicture.h"
#include "colour/Palette.h"

// The searched dither: the arrangement of palette colours whose blurred light is closest to the
// picture's, as the eye sees both from a little way off. Its objective, summed over the pixels:
// the squared CIEDE2000 of the difference after a Gaussian blur of sigma 1 grid pixel (the eye's
// blending of colour), plus 10 times the squared L* difference after a blur of 0.6 (the detail),
// plus 30 times the squared CIEDE2000 of the mean difference over blocks 8 grid pixels square
// (the light and hue of each area), each to first order about the picture's own colour there. A
// grid pixel is 1/320 of the screen's width: pixelsPerGridColumn of the picture's pixels (2 in MODE
// 0, 1 in MODEs 1 and 4, 0.5 in MODEs 2 and 5), and one line tall. Taken about the picture's own
// colour, the metric weighs errors near black as heavily as CIEDE2000 does there, which keeps dark
// structure. Being squared, the blurred terms prefer one even offset to very sparse dots, which
// the blocks' term only partly holds back: a flat area within about 5% of black or white can
// drift towards it.

// The logical colour of every pixel, row by row. Starts from DiffuseWithLimitedError (the error
// handed on cut to +-0.5) and sweeps the rows in turn, switching a pixel to another colour
// whenever that lowers the objective, until a sweep changes nothing or kSweeps have run. A pixel
// may only take a colour that the start uses within 2 pixels of it, so that no hue appears that
// the start did not choose there. The same picture and palette give the same result every time.
std::vector<std::uint8_t> SearchOntoPalette(const LinearPicture& picture, const Palette& palette,
                                            double pixelsPerGridColumn);

// The objective, per pixel, of the logical colours (row by row, one per pixel of the picture).
double SearchObjective(const LinearPicture& picture, const Palette& palette,
                       double pixelsPerGridColumn, const std::vector<std::uint8_t>& logical);

// The objective per pixel after at most `sweeps` sweeps from the start (0: of the start itself):
// how a palette is scored on a piece of a picture.
double SearchedObjective(const LinearPicture& picture, const Palette& palette,
                         double pixelsPerGridColumn, int sweeps);
