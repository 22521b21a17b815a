#pragma once

#include "colour/LinearPicture.h"
#include "colour/Palette.h"
#include "convert/ErrorDiffusion.h"
#include "screen/ScreenGeometry.h"

class PictureBox;

// Diffuses the picture (at the MODE's own resolution, see ModePicture) onto the palette and
// returns the screen memory, in the BBC Micro's byte order. The preview shows each pixel in its
// palette colour; in MODE 0, where two pixels share a preview column, it shows their mix, as the
// eye sees it.
std::vector<std::uint8_t> EncodeDiffused(ScreenMode screenMode, const LinearPicture& picture,
                                         const Palette& palette, Diffusion kernel,
                                         PictureBox& preview);
