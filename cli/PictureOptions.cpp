#include "cli/PictureOptions.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <cmath>
#include <exception>

#include "colour/PaletteText.h"
#include "convert/PhotoSettings.h"
#include "screen/ScreenGeometry.h"

namespace {

constexpr std::array<const char*, 5> kPatternNames{"none", "fine", "coarse", "spiral", "diagonal"};
// Indexed by the Diffusion kernel; 0 is Off, which the pattern names stand for.
constexpr std::array<const char*, 6> kKernelNames{"",       "floyd-steinberg",     "atkinson",
                                                  "sierra", "jarvis-judice-ninke", "search"};
constexpr std::array<const char*, 2> kSamplingNames{"point", "area"};
constexpr std::array<const char*, 3> kFitNames{"stretch", "keep", "fill"};

std::string Lower(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

template <std::size_t N>
std::optional<int> IndexOf(const std::array<const char*, N>& names, const std::string& value) {
    const auto found = std::find(names.begin(), names.end(), Lower(value));
    if (found == names.end() || Lower(value).empty()) return std::nullopt;
    return static_cast<int>(found - names.begin());
}

// A number within the range, written as a whole number unless fractions are allowed.
std::optional<double> NumberIn(const std::string& value, const AdjustmentRange& range, bool whole) {
    std::size_t used = 0;
    double number = 0;
    try {
        number = std::stod(value, &used);
    } catch (const std::exception&) {
        return std::nullopt;
    }
    if (used != value.size() || !std::isfinite(number) || number < range.lowest ||
        number > range.highest || (whole && number != std::floor(number)))
        return std::nullopt;
    return number;
}

std::string ReadWhole(const char* what, const std::string& value, const AdjustmentRange& range,
                      std::optional<int>& into) {
    const std::optional<double> number = NumberIn(value, range, true);
    if (!number) {
        return std::string("invalid ") + what + " '" + value + "': use a whole number from " +
               std::to_string(static_cast<int>(range.lowest)) + " to " +
               std::to_string(static_cast<int>(range.highest));
    }
    into = static_cast<int>(*number);
    return "";
}

std::string Number(double value) {
    std::string text = std::to_string(value);
    text.erase(text.find_last_not_of('0') + 1);
    if (text.back() == '.') text.pop_back();
    return text;
}

}  // namespace

const char* const kPictureOptionsUsage =
    "  -t, --tone NAME     a halftone pattern: none, fine, coarse, spiral or diagonal\n"
    "                      (default none); or error diffusion in linear light:\n"
    "                      floyd-steinberg, atkinson, sierra or jarvis-judice-ninke; or\n"
    "                      search (a searched dither that keeps detail and shadows)\n"
    "      --palette P     standard (the MODE's colours, the default), best (the 2 or 4 of\n"
    "                      the 8 colours that suit the picture best) or a LIST of colours,\n"
    "                      one per logical colour in order, such as black,blue,cyan,white\n"
    "                      (black, red, green, yellow, blue, magenta, cyan, white); MODE 2\n"
    "                      always shows all 8. The VDU 19 commands that set it are printed\n"
    "      --sampling S    point (one pixel per sample, the default) or area (the mean of the\n"
    "                      pixels each sample covers)\n"
    "      --fit F         stretch (the whole screen, the default), keep (the picture's shape\n"
    "                      on a 4:3 monitor, centred on black) or fill (cropped centrally)\n"
    "      --photo         the settings for photographs: tone search, palette best,\n"
    "                      sampling area, fit keep, auto levels; options given outright win\n"
    "      --brightness N  -100..100 (default 0): the light scaled by 2^(N/50)\n"
    "      --contrast N    -100..100 (default 0): tones spread from mid grey 2^(N/100) times\n"
    "                      as far\n"
    "      --saturation N  -100..100 (default 0): colours 1+N/100 times as far from grey\n"
    "      --gamma G       0.25..4 (default 1): mid tones lighter above 1, darker below\n"
    "      --auto-levels   first stretch the picture's range of light to the full range,\n"
    "                      ignoring its darkest and lightest 0.5%\n";

std::string ReadTone(const std::string& value, PictureOptions& options) {
    if (const auto pattern = IndexOf(kPatternNames, value)) {
        options.toneStyle = *pattern;
        options.diffusion = Diffusion::Off;
        return "";
    }
    if (const auto kernel = IndexOf(kKernelNames, value)) {
        options.toneStyle = 0;
        options.diffusion = static_cast<Diffusion>(*kernel);
        return "";
    }
    return "invalid tone '" + value +
           "': use none, fine, coarse, spiral, diagonal, floyd-steinberg, atkinson, sierra, "
           "jarvis-judice-ninke or search";
}

std::string ReadPalette(const std::string& value, PictureOptions& options) {
    if (Lower(value) == "standard" || Lower(value) == "best") {
        options.paletteChoice =
            Lower(value) == "best" ? PaletteChoice::Best : PaletteChoice::Standard;
        return "";
    }
    const std::optional<Palette> list = ParsePaletteList(value);
    if (!list || list->physical.size() > 8) {
        return "invalid palette '" + value +
               "': use standard, best or a list of black, red, green, yellow, blue, "
               "magenta, "
               "cyan and white such as black,blue,cyan,white";
    }
    options.paletteChoice = PaletteChoice::List;
    options.paletteList = *list;
    return "";
}

std::string ReadSampling(const std::string& value, PictureOptions& options) {
    const auto sampling = IndexOf(kSamplingNames, value);
    if (!sampling) return "invalid sampling '" + value + "': use point or area";
    options.sampling = static_cast<Sampling>(*sampling);
    return "";
}

std::string ReadFit(const std::string& value, PictureOptions& options) {
    const auto fit = IndexOf(kFitNames, value);
    if (!fit) return "invalid fit '" + value + "': use stretch, keep or fill";
    options.fit = static_cast<Fit>(*fit);
    return "";
}

std::string ReadBrightness(const std::string& value, PictureOptions& options) {
    return ReadWhole("brightness", value, kBrightnessRange, options.brightness);
}

std::string ReadContrast(const std::string& value, PictureOptions& options) {
    return ReadWhole("contrast", value, kContrastRange, options.contrast);
}

std::string ReadSaturation(const std::string& value, PictureOptions& options) {
    return ReadWhole("saturation", value, kSaturationRange, options.saturation);
}

std::string ReadGamma(const std::string& value, PictureOptions& options) {
    const std::optional<double> gamma = NumberIn(value, kGammaRange, false);
    if (!gamma) return "invalid gamma '" + value + "': use a number from 0.25 to 4";
    options.gamma = gamma;
    return "";
}

std::string CheckPictureOptions(const PictureOptions& options, int screenMode) {
    if (options.paletteChoice != PaletteChoice::List) return "";
    if (screenMode == 2) {
        return "MODE 2 always shows all 8 colours: a palette LIST is for MODEs 0, 1, 4 and 5";
    }
    const int wanted = screenMode == 0 || screenMode == 4 ? 2 : 4;
    const std::size_t given = options.paletteList.physical.size();
    if (given == static_cast<std::size_t>(wanted)) return "";
    return "MODE " + std::to_string(screenMode) + " shows " + std::to_string(wanted) +
           " colours: the palette LIST has " + std::to_string(given);
}

void ApplyPictureOptions(const PictureOptions& options, ConversionChoices& choices) {
    if (options.photo) ApplyPhotoSettings(choices);
    if (options.diffusion) choices.diffusion = *options.diffusion;
    if (options.paletteChoice) {
        choices.palette = *options.paletteChoice;
        choices.paletteList = options.paletteList;
    }
    if (options.sampling) choices.sampling = *options.sampling;
    if (options.fit) choices.fit = *options.fit;
    PictureAdjustments& adjustments = choices.adjustments;
    if (options.brightness) adjustments.brightness = *options.brightness;
    if (options.contrast) adjustments.contrast = *options.contrast;
    if (options.saturation) adjustments.saturation = *options.saturation;
    if (options.gamma) adjustments.gamma = *options.gamma;
    if (options.autoLevels) adjustments.autoLevels = true;
}

std::string ToneNameOf(const ConversionChoices& choices) {
    const auto kernel = static_cast<std::size_t>(choices.diffusion);
    if (kernel > 0 && kernel < kKernelNames.size()) return kKernelNames[kernel];
    return kPatternNames.at(static_cast<std::size_t>(choices.halftone));
}

std::string PictureChoicesText(const ConversionChoices& choices) {
    std::string text;
    // MODE 2 shows all eight colours whatever the palette choice says.
    const bool paletteChosen = GeometryOf(choices.screenMode).colourCount < 8;
    if (paletteChosen && choices.palette == PaletteChoice::Best) text += ", palette best";
    if (paletteChosen && choices.palette == PaletteChoice::List) text += ", palette list";
    if (choices.sampling != Sampling::Point) text += ", sampling area";
    if (choices.fit != Fit::Stretch)
        text += std::string(", fit ") + kFitNames.at(static_cast<std::size_t>(choices.fit));
    const PictureAdjustments& a = choices.adjustments;
    if (a.brightness != 0) text += ", brightness " + std::to_string(a.brightness);
    if (a.contrast != 0) text += ", contrast " + std::to_string(a.contrast);
    if (a.saturation != 0) text += ", saturation " + std::to_string(a.saturation);
    if (a.gamma != 1.0) text += ", gamma " + Number(a.gamma);
    if (a.autoLevels) text += ", auto levels";
    return text;
}
