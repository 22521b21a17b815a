#pragma once

#include "convert/ConversionChoices.h"
#include "convert/EncodeOrdered.h"
#include "platform/picture/PictureBox.h"
#include "sample/Samples.h"
#include "screen/EncodedScreen.h"

// The conversion: the samples, adjusted as the choices say (PictureAdjustments), turned into the
// chosen MODE's screen memory, its palette and its preview, encoded once. The classic conversion
// (no diffusion, the standard palette) thresholds each channel against the halftone's offsets and
// takes the MODE's colour with the fewest differing components; otherwise the samples are taken at
// the MODE's own resolution in linear light, the palette is chosen (ChoosePalette) and the picture
// is halftoned onto it, or diffused when a kernel is chosen. A MODE other than 0, 1, 2, 4 or 5
// raises std::invalid_argument.
EncodedScreen Convert(const Samples& samples, const ConversionChoices& choices);

// The ordered toning the choices stand for: their halftone's offsets, stagger, the classic
// colours of their MODE and the whole grid.
OrderedTones TonesFor(const ConversionChoices& choices);

// Convert over samples given as planes, with the ordered toning given outright, drawing into
// preview (at least 320 x 256, else std::invalid_argument), which the result then holds: for a
// caller that keeps its own tables.
EncodedScreen ConvertPlanes(const SamplePlanes& samples, const ConversionChoices& choices,
                            const OrderedTones& tones, PictureBox preview);
