#include "convert/PhotoSettings.h"

#include "convert/ErrorDiffusion.h"

void ApplyPhotoSettings(ConversionSettingsFields& settings) {
    settings.Diffusion = static_cast<std::int16_t>(Diffusion::Atkinson);
    settings.PaletteChoice = kBestPalette;
    settings.Sampling = kAreaSampling;
    settings.Fit = kKeepAspect;
}
