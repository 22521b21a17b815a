#include "app/ConversionDocument.h"

#include <exception>
#include <filesystem>
#include <new>

#include "app/CaptureSampleGrid.h"
#include "app/ConversionSettings.h"
#include "app/Module1.h"
#include "app/WriteImage.h"
#include "convert/Convert.h"
#include "decode/LoadPicture.h"
#include "disc/SlideshowDisc.h"
#include "platform/files/DrivePath.h"
#include "sample/SamplePicture.h"

void ConversionDocument::Open(const std::string& path, PictureBox& box) {
    sampler_.Wait();
    LoadPicture(path, box);
    openedPicture_ = path;
    ++opened_;
}

void ConversionDocument::Sample(const PictureBox& picture, PictureBox& preview) {
    CaptureSampleGrid(picture, preview);
    sampledPicture_ = openedPicture_;
    sampledWith_ = {ConversionSettings.Sampling, ConversionSettings.Fit};
}

void ConversionDocument::ResampleIfChoicesChanged(const PictureBox& picture, PictureBox& preview) {
    const SampledWith wanted{ConversionSettings.Sampling, ConversionSettings.Fit};
    if (!sampledWith_ || *sampledWith_ == wanted) return;
    CaptureSampleGrid(picture, preview);
    sampledWith_ = wanted;
}

void ConversionDocument::SampleInBackground(const PictureBox& picture, SampledWith with,
                                            std::function<void(const std::string&)> done) {
    const std::uint64_t opened = opened_;
    sampler_.Start([this, &picture, with, opened, done = std::move(done)](const auto&) {
        std::optional<Samples> samples;
        std::string failure;
        try {
            samples = SamplePicture(picture, static_cast<Fit>(with.second),
                                    static_cast<Sampling>(with.first));
        } catch (const std::bad_alloc&) {
            failure = "not enough memory to sample the picture again";
        } catch (const std::exception& error) {
            failure = error.what();
        }
        return [this, samples = std::move(samples), failure, with, opened, done] {
            const SampledWith current{ConversionSettings.Sampling, ConversionSettings.Fit};
            // A pass of the Convert command may have sampled these choices meanwhile; a picture
            // opened since makes these samples stale.
            if (samples && opened == opened_ && with == current && sampledWith_ &&
                *sampledWith_ != with) {
                Module1::SampleGrid = samples->Planes();
                sampledWith_ = with;
            }
            done(failure);
        };
    });
}

const ConversionDocument::Conversion& ConversionDocument::WriteImage(PictureBox& preview,
                                                                     const std::string& fileName,
                                                                     std::int32_t maxVal) {
    EncodedScreen screen = ::WriteImage(preview, fileName, maxVal);
    const Conversion& conversion = lastConversion_.emplace(Conversion{
        sampledPicture_, std::move(screen), ChoicesOf(ConversionSettings), ToLocalPath(fileName)});
    if (onConverted) onConverted(conversion);
    return conversion;
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
    const Conversion& conversion = lastConversion_.emplace(
        Conversion{sampledPicture_, std::move(screen), choices, ToLocalPath(fileName)});
    if (onConverted) onConverted(conversion);
    return conversion;
}

std::string ConversionDocument::DiscStem() const {
    const std::filesystem::path picture(lastConversion_ ? lastConversion_->picture : "");
    return picture.empty() ? "screen" : picture.stem().string();
}

void ConversionDocument::SaveDisc(const std::string& path, bool compress) const {
    if (!lastConversion_) return;
    const EncodedScreen& screen = lastConversion_->screen;
    const DiscPicture disc{DiscStem(), ModeNumber(screen.screenMode), screen.palette, screen.bytes};
    const DiscFormat format{kDefaultTracks, IsDoubleSidedName(path), compress};
    const DiscSummary summary = WriteSlideshowDisc(path, {disc}, format);
    if (onDiscSaved) onDiscSaved(path, summary, compress);
}
