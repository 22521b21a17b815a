#include "app/ConversionDocument.h"

#include <filesystem>

#include "acquire/LoadPicture.h"
#include "app/CaptureSampleGrid.h"
#include "app/ConversionSettings.h"
#include "app/WriteImage.h"
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

std::string ConversionDocument::DiscStem() const {
    const std::filesystem::path picture(lastConversion_ ? lastConversion_->picture : "");
    return picture.empty() ? "screen" : picture.stem().string();
}

void ConversionDocument::SaveDisc(const std::string& path, bool compress) const {
    if (!lastConversion_) return;
    const EncodedScreen& screen = lastConversion_->screen;
    const DiscPicture disc{DiscStem(), ModeNumber(screen.screenMode), screen.palette, screen.bytes};
    WriteSlideshowDisc(path, {disc}, DiscFormat{kDefaultTracks, IsDoubleSidedName(path), compress});
}
