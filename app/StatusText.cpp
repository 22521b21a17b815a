#include "app/StatusText.h"

#include <array>
#include <filesystem>

#include "colour/PaletteText.h"
#include "disc/DfsCatalogue.h"

namespace {

const std::array<const char*, 5> kHalftoneNames{"no halftone", "Fine halftone", "Coarse halftone",
                                                "Spiral halftone", "Diagonal halftone"};
const std::array<const char*, 6> kKernelNames{"",       "Floyd-Steinberg",     "Atkinson",
                                              "Sierra", "Jarvis-Judice-Ninke", "searched dither"};

}  // namespace

std::string ChoicesText(const ConversionChoices& choices) {
    std::string text = "MODE " + std::to_string(ModeNumber(choices.screenMode));
    // A teletext page is solved from its own codes: no halftone, kernel or palette applies.
    if (choices.screenMode == ScreenMode::Mode7) {
        text += ", teletext";
    } else if (choices.diffusion != Diffusion::Off) {
        text += std::string(", ") + kKernelNames.at(static_cast<std::size_t>(choices.diffusion));
    } else {
        text += std::string(", ") + kHalftoneNames.at(static_cast<std::size_t>(choices.halftone));
        if (choices.stagger) text += ", Stagger";
    }
    // MODE 2 shows all eight colours whatever the palette choice says.
    if (choices.screenMode != ScreenMode::Mode7 && GeometryOf(choices.screenMode).colourCount < 8) {
        if (choices.palette == PaletteChoice::Best) text += ", best palette";
        if (choices.palette == PaletteChoice::List) text += ", own palette";
    }
    if (choices.sampling == Sampling::Area) text += ", area average";
    if (choices.fit == Fit::Keep) text += ", keep aspect";
    if (choices.fit == Fit::Fill) text += ", fill";
    if (choices.adjustments != PictureAdjustments{}) text += ", adjusted";
    return text;
}

std::string PaletteText(const Palette& palette) {
    std::string text;
    for (const std::uint8_t physical : palette.physical)
        text += (text.empty() ? "" : ", ") + std::string(PhysicalColourName(physical));
    return text;
}

std::string WroteText(const std::string& screenFile, const ConversionChoices& choices,
                      const Palette& palette) {
    const std::string sidecar = std::filesystem::path(screenFile).filename().string() + ".inf";
    return "Wrote " + screenFile + " and " + sidecar + ": " + ChoicesText(choices) + ", " +
           PaletteText(palette);
}

std::string SavedDiscText(const std::string& path, const DiscSummary& summary, bool compress) {
    const int catalogues = (IsDoubleSidedName(path) ? 2 : 1) * kDfsCatalogueSectors;
    const int count = summary.pictures;
    const int packed = summary.packedPictures;
    std::string text = "Saved " + path + ": " + std::to_string(count) +
                       (count == 1 ? " picture, " : " pictures, ");
    if (compress) {
        text += (packed == 0 ? "no" : std::to_string(packed)) +
                (packed == 1 ? " screen packed, " : " screens packed, ");
    }
    return text + std::to_string(summary.sectorsUsed + catalogues) + " of " +
           std::to_string(summary.sectorsFree + catalogues) + " sectors used";
}
