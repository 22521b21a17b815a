#pragma once

#include "convert/ConversionSettings.h"
#include "convert/LinearPicture.h"
#include "convert/Palette.h"

// The palette a conversion uses: the MODE's own, the best for the picture (at the MODE's
// resolution) or the first 2 or 4 colours of the user's list. MODE 2 shows all eight colours
// whatever is chosen.
Palette ChoosePalette(const ConversionSettingsFields& settings, const LinearPicture& picture);
