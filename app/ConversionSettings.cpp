#include "app/ConversionSettings.h"

#include "convert/PhotoSettings.h"

ConversionSettingsFields ConversionSettings;

ConversionChoices ChoicesOf(const ConversionSettingsFields& settings) {
    ConversionChoices choices;
    choices.screenMode = static_cast<ScreenMode>(settings.ScreenMode);
    choices.halftone = static_cast<Halftone>(settings.ToneStyle);
    choices.stagger = settings.StaggerOn != 0;
    choices.diffusion = static_cast<Diffusion>(settings.Diffusion);
    choices.palette = static_cast<PaletteChoice>(settings.PaletteChoice);
    choices.paletteList.physical.assign(settings.PaletteList.begin(), settings.PaletteList.end());
    choices.sampling = static_cast<Sampling>(settings.Sampling);
    choices.fit = static_cast<Fit>(settings.Fit);
    choices.adjustments = settings.Adjustments;
    return choices;
}

void ApplyPhotoSettings(ConversionSettingsFields& settings) {
    ConversionChoices photo = ChoicesOf(settings);
    ::ApplyPhotoSettings(photo);
    settings.Diffusion = static_cast<std::int16_t>(photo.diffusion);
    settings.PaletteChoice = static_cast<std::int16_t>(photo.palette);
    settings.Sampling = static_cast<std::int16_t>(photo.sampling);
    settings.Fit = static_cast<std::int16_t>(photo.fit);
    settings.Adjustments = photo.adjustments;
}
