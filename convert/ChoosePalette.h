#pragma once

#include "colour/LinearPicture.h"
#include "colour/Palette.h"
#include "convert/ConversionChoices.h"

// The palette a conversion uses: the MODE's own, the best for the picture (at the MODE's
// resolution) or the first 2 or 4 colours of the user's list. MODE 2 shows all eight colours
// whatever is chosen. A list shorter than the MODE's colours raises std::invalid_argument.
Palette ChoosePalette(const ConversionChoices& choices, const LinearPicture& picture);
