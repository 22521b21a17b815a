#pragma once

#include "convert/ConversionChoices.h"

// The one switch for photographs ("--photo", Picture > "Photo Settings"): the picture choices
// measured to look best on photographs. It sets error diffusion, the palette, the sampling and
// the fit, and leaves the MODE, the halftone pattern and Stagger as they are.
void ApplyPhotoSettings(ConversionChoices& choices);
