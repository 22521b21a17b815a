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

// Samples a picture file onto the grid while it decodes (OpenPicture, then SampleRows), never
// holding more of it than the samples need: the same row sources and samplers as the window's
// picture box and its sampling pass, so the same samples. Raises FileError naming the file and
// the reason when it cannot be read (see decode/OpenPicture.h).
Samples SamplePictureFile(const std::string& path, Fit fit, Sampling sampling);

// Convert(SamplePictureFile(path, choices.fit, choices.sampling), choices).
EncodedScreen ConvertPictureFile(const std::string& path, const ConversionChoices& choices);
