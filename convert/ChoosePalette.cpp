#include "convert/ChoosePalette.h"

#include <stdexcept>

#include "convert/BestPalette.h"

Palette ChoosePalette(const ConversionChoices& choices, const LinearPicture& picture) {
    const int colourCount = GeometryOf(choices.screenMode).colourCount;
    const Palette standard = DefaultPalette(ModeNumber(choices.screenMode));
    if (colourCount == 8) return standard;
    switch (choices.palette) {
        case PaletteChoice::Best:
            return BestPalette(picture, colourCount, choices.diffusion);
        case PaletteChoice::List: {
            const auto& list = choices.paletteList.physical;
            if (list.size() < static_cast<std::size_t>(colourCount))
                throw std::invalid_argument("the palette list has fewer colours than the MODE");
            return Palette{{list.begin(), list.begin() + colourCount}};
        }
        default:
            return standard;
    }
}
