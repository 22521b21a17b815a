#include "convert/PhotoSettings.h"

void ApplyPhotoSettings(ConversionChoices& choices) {
    choices.diffusion = Diffusion::Search;
    choices.palette = PaletteChoice::Best;
    choices.sampling = Sampling::Area;
    choices.fit = Fit::Keep;
    choices.adjustments.autoLevels = true;
}
