#include "app/ConversionDocument.h"

#include <filesystem>

#include "decode/LoadPicture.h"
#include "app/CaptureSampleGrid.h"
#include "app/ConversionSettings.h"
#include "app/Module1.h"
#include "app/WriteImage.h"
#include "convert/Convert.h"
#include "disc/SlideshowDisc.h"

void ConversionDocument::Open(const std::string& path, PictureBox& box) {
    LoadPicture(path, box);
    openedPicture_ = path;
}

void ConversionDocument::Sample(const PictureBox& picture, PictureBox& preview) {
    CaptureSampleGrid(picture, preview);
    sampledPicture_ = openedPicture_;
    sampledWith_ = {ConversionSettings.Sampling, ConversionSettings.Fit};
}

void ConversionDocument::ResampleIfChoicesChanged(const PictureBox& picture, PictureBox& preview) {
    const std::pair<std::int16_t, std::int16_t> wanted{ConversionSettings.Sampling,
                                                       ConversionSettings.Fit};
    if (!sampledWith_ || *sampledWith_ == wanted) return;
    CaptureSampleGrid(picture, preview);
    sampledWith_ = wanted;
}

const ConversionDocument::Conversion& ConversionDocument::WriteImage(PictureBox& preview,
                                                                     const std::string& fileName,
                                                                     std::int32_t maxVal) {
    EncodedScreen screen = ::WriteImage(preview, fileName, maxVal);
    return lastConversion_.emplace(Conversion{sampledPicture_, std::move(screen)});
}

const ConversionDocument::Conversion& ConversionDocument::WriteTeletext(
    PictureBox& preview, const std::string& fileName) {
    ConversionChoices choices = ChoicesOf(ConversionSettings);
    choices.screenMode = ScreenMode::Mode7;
    std::vector<std::int32_t> colours;
    colours.reserve(static_cast<std::size_t>(kGridColumns) * kGridRows);
    for (int y = 0; y < kGridRows; ++y)
        for (int x = 0; x < kGridColumns; ++x)
            colours.push_back(Module1::SampleGrid.RedPlane(x, y) |
                              Module1::SampleGrid.GreenPlane(x, y) << 8 |
                              Module1::SampleGrid.BluePlane(x, y) << 16);
    EncodedScreen screen = Convert(Samples(std::move(colours)), choices);
    WriteScreenFiles(fileName, screen);
    preview = screen.preview;
    return lastConversion_.emplace(Conversion{sampledPicture_, std::move(screen)});
}

std::string ConversionDocument::DiscStem() const {
    const std::filesystem::path picture(lastConversion_ ? lastConversion_->picture : "");
    return picture.empty() ? "screen" : picture.stem().string();
}

void ConversionDocument::SaveDisc(const std::string& path) const {
    if (!lastConversion_) return;
    const EncodedScreen& screen = lastConversion_->screen;
    const DiscPicture disc{DiscStem(), ModeNumber(screen.screenMode), screen.palette, screen.bytes};
    WriteSlideshowDisc(path, {disc}, kDefaultTracks);
}
