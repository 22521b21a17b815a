#include "app/EncodeScreen.h"

#include "app/ConversionSettings.h"
#include "app/Module1.h"
#include "convert/Convert.h"
#include "platform/picture/PictureBox.h"

namespace {

// NearestColour depends on nothing but the on/off bit of each channel, so one call for each of
// the eight bit patterns answers for every pixel of a conversion. Code kOutsideGrid stands for a
// pixel outside the grid, whose index is 0.
ColourLookup NearestColourLookup(int colourCount) {
    ColourLookup lookup;
    for (int code = 0; code < 8; ++code) {
        std::int32_t previewColour = 0;
        const std::int16_t index =
            Module1::NearestColour((code & 4) ? 255 : 0, (code & 2) ? 255 : 0, (code & 1) ? 255 : 0,
                                   static_cast<std::int16_t>(colourCount), previewColour);
        lookup.index[code] = static_cast<std::uint8_t>(index);
        lookup.colour[code] = static_cast<std::uint32_t>(previewColour);
    }
    return lookup;
}

}  // namespace

EncodedScreen EncodeScreen(PictureBox& preview) {
    const ConversionSettingsFields settings = ConversionSettings;
    const int colourCount = GeometryOf(settings.ScreenMode).colourCount;
    const OrderedTones tones{
        Module1::ThresholdTable, settings.StaggerOn != 0, NearestColourLookup(colourCount),
        GridReach{settings.ScaleToGrid != 0, settings.GridWidth, settings.GridHeight}};
    // The conversion draws into a copy, so that a failure leaves the preview as it was.
    EncodedScreen screen = ConvertPlanes(Module1::SampleGrid, ChoicesOf(settings), tones, preview);
    preview = screen.preview;
    return screen;
}

Palette EncodeScreen(ScreenSink& sink, PictureBox& preview) {
    const EncodedScreen screen = EncodeScreen(preview);
    const std::size_t rowBytes =
        static_cast<std::size_t>(GeometryOf(screen.screenMode).bytesPerCharacterRow);
    for (std::size_t at = 0; at < screen.bytes.size(); at += rowBytes)
        sink.Put(screen.bytes.data() + at, rowBytes);
    return screen.palette;
}
