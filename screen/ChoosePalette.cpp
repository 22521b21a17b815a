#include "screen/ChoosePalette.h"

#include "convert/BestPalette.h"
#include "screen/ScreenGeometry.h"

Palette ChoosePalette(const ConversionSettingsFields& settings, const LinearPicture& picture) {
    const int colourCount = GeometryOf(settings.ScreenMode).colourCount;
    if (colourCount == 8) return DefaultPalette(settings.ScreenMode);
    switch (settings.PaletteChoice) {
        case kBestPalette:
            return BestPalette(picture, colourCount, static_cast<Diffusion>(settings.Diffusion));
        case kPaletteList:
            return Palette{
                {settings.PaletteList.begin(), settings.PaletteList.begin() + colourCount}};
        default:
            return DefaultPalette(settings.ScreenMode);
    }
}
