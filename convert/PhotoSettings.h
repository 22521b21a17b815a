#pragma once

#include "convert/ConversionChoices.h"

// The one switch for photographs ("--photo", Picture > "Photo Settings"): the picture choices
// measured to look best on photographs: the searched dither, the best palette for it, area
// sampling, keep aspect and auto levels. It leaves the MODE, the halftone pattern, Stagger and
// the other adjustments as they are.
void ApplyPhotoSettings(ConversionChoices& choices);
