#pragma once

#include "convert/ErrorDiffusion.h"
#include "convert/LinearPicture.h"
#include "convert/Palette.h"

class PictureBox;
class ScreenSink;

// Diffuses the picture (at the MODE's own resolution, see ModePicture) onto the palette and
// hands the screen memory to the sink a character row at a time, as EncodeScreen does. The
// preview shows each pixel in its palette colour; in MODE 0, where two pixels share a preview
// column, it shows their mix, as the eye sees it.
void EncodeDiffused(int screenMode, const LinearPicture& picture, const Palette& palette,
                    Diffusion kernel, ScreenSink& sink, PictureBox& preview);
