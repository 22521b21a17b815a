#pragma once

#include <string>

#include "convert/ConversionChoices.h"
#include "convert/Convert.h"
#include "sample/SampleGeometry.h"
#include "sample/Samples.h"
#include "screen/EncodedScreen.h"
#include "screen/ScreenFiles.h"

// A picture's way to a BBC Micro screen, in the few calls every front end makes:
//   SamplePictureFile(path, fit, sampling)  -> Samples        (or SamplePicture, for a picture
//                                                              already in memory)
//   Convert(samples, choices)               -> EncodedScreen  (convert/Convert.h; encoded once)
//   WriteScreenFiles(path, screen)          -> the screen file and its sidecar
//                                                             (screen/ScreenFiles.h)
// ConvertPictureFile composes the first two for a picture file.

// Samples a picture file onto the grid: JPEG and BMP pictures while they decode, never held
// whole, any other picture loaded whole as the window loads it; the same samples either way.
// Raises FileError naming the file and the reason when it cannot be read (see LoadPicture).
Samples SamplePictureFile(const std::string& path, Fit fit, Sampling sampling);

// Convert(SamplePictureFile(path, choices.fit, choices.sampling), choices).
EncodedScreen ConvertPictureFile(const std::string& path, const ConversionChoices& choices);
