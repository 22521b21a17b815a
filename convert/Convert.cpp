#include "convert/Convert.h"

#include <optional>
#include <stdexcept>

#include "convert/ChoosePalette.h"
#include "convert/ColourLookups.h"
#include "convert/EncodeDiffused.h"
#include "convert/ModePicture.h"

OrderedTones TonesFor(const ConversionChoices& choices) {
    return {ThresholdOffsetsFor(choices.halftone), choices.stagger,
            ClassicLookup(choices.screenMode), GridReach{}};
}

EncodedScreen ConvertPlanes(const SamplePlanes& given, const ConversionChoices& choices,
                            const OrderedTones& tones, PictureBox preview) {
    const ScreenMode mode = choices.screenMode;
    (void)GeometryOf(mode);  // a MODE it cannot make is refused before anything else
    if (preview.Width() < kPreviewWidth || preview.Height() < kPreviewHeight) {
        throw std::invalid_argument("the preview must be at least 320 x 256 pixels");
    }
    EncodedScreen screen{mode, {}, {}, std::move(preview)};
    // Unadjusted samples are used as they are, not copied.
    std::optional<SamplePlanes> adjusted;
    if (choices.adjustments != PictureAdjustments{})
        adjusted.emplace(Adjusted(given, choices.adjustments));
    const SamplePlanes& samples = adjusted ? *adjusted : given;
    if (choices.diffusion == Diffusion::Off && choices.palette == PaletteChoice::Standard) {
        screen.bytes = EncodeOrdered(samples, mode, tones, screen.preview);
        screen.palette = DefaultPalette(ModeNumber(mode));
        return screen;
    }
    const LinearPicture picture = ModePicture(samples, mode);
    screen.palette = ChoosePalette(choices, picture);
    if (choices.diffusion == Diffusion::Off) {
        OrderedTones matched = tones;
        matched.colours = NearestPaletteLookup(screen.palette);
        screen.bytes = EncodeOrdered(samples, mode, matched, screen.preview);
    } else {
        screen.bytes =
            EncodeDiffused(mode, picture, screen.palette, choices.diffusion, screen.preview);
    }
    return screen;
}

EncodedScreen Convert(const Samples& samples, const ConversionChoices& choices) {
    return ConvertPlanes(samples.Planes(), choices, TonesFor(choices),
                         PictureBox(kPreviewWidth, kPreviewHeight));
}
