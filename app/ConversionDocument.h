#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <utility>

#include "app/BackgroundWorker.h"
#include "app/DiscList.h"
#include "convert/ConversionChoices.h"
#include "sample/Samples.h"
#include "screen/EncodedScreen.h"

class PictureBox;

// The window's document: the picture opened, what was sampled of it, the last conversion written
// and the slideshow disc being put together. The window builds the controls and forwards its
// commands here; the conversion itself runs through the window's module state
// (ConversionSettings, the SampleGrid, the tables), which the document's procedures fill and
// read. A new sampling of a large picture may run on a worker thread (SampleInBackground).
class ConversionDocument {
public:
    // A conversion written, with the picture it was sampled from (empty before any picture), the
    // choices it was made with and the screen file it went to (a local path).
    struct Conversion {
        std::string picture;
        EncodedScreen screen;
        ConversionChoices choices;
        std::string screenFile;
    };
    // The Sampling and Fit the SampleGrid was taken with.
    using SampledWith = std::pair<std::int16_t, std::int16_t>;

    // Loads the picture file into box, which takes its size, and remembers it as the opened
    // picture. Waits first for a sampling in the background, which reads the box. On failure
    // raises FileError (or what the loader raises) and changes nothing.
    void Open(const std::string& path, PictureBox& box);

    // The sampling pass over picture (the opened one) with the current Sampling and Fit: fills
    // the SampleGrid and draws the samples into preview.
    void Sample(const PictureBox& picture, PictureBox& preview);

    // Samples again when the Sampling or Fit changed since the last pass, since they decide what
    // the grid holds; nothing before the first pass.
    void ResampleIfChoicesChanged(const PictureBox& picture, PictureBox& preview);

    // The picture shown in the source box; empty before the first.
    const std::string& OpenedPicture() const { return openedPicture_; }

    // The sampling of the last pass; nothing before the first.
    const std::optional<SampledWith>& Sampled() const { return sampledWith_; }

    // Samples picture (the opened one, which Open keeps unchanged meanwhile) with these choices on
    // a worker thread. Afterwards, on the UI thread, the samples go into the SampleGrid (when the
    // same picture is still open and these are still the current Sampling and Fit) and done runs
    // with "" or the reason the sampling failed. A pass already running is waited for first.
    void SampleInBackground(const PictureBox& picture, SampledWith with,
                            std::function<void(const std::string& failure)> done);
    bool SamplingInBackground() const { return sampler_.Busy(); }

    // WriteImage: encodes the SampleGrid into the screen file and its sidecar, drawing into
    // preview, and remembers the conversion. Raises what WriteImage raises, remembering nothing.
    const Conversion& WriteImage(PictureBox& preview, const std::string& fileName,
                                 std::int32_t maxVal);

    // The SampleGrid converted in MODE 7 (Convert, with the current Sampling and Fit) and written
    // to the screen file and its sidecar at fileName, its preview drawn into preview; remembered
    // as the last conversion. Raises what WriteScreenFiles raises, remembering nothing.
    const Conversion& WriteTeletext(PictureBox& preview, const std::string& fileName);

    // Writes the last conversion as a one-picture bootable disc, its screen packed with compress
    // and double-sided for a path ending in .dsd; FileError on failure.
    void SaveDisc(const std::string& path, bool compress = false) const;

    const std::optional<Conversion>& LastConversion() const { return lastConversion_; }
    // The name the last conversion's picture suggests for its disc ("screen" without one).
    std::string DiscStem() const;

    // The slideshow disc being put together.
    DiscList& Disc() { return disc_; }
    const DiscList& Disc() const { return disc_; }

    // Told of every conversion written and every disc saved, on the UI thread.
    std::function<void(const Conversion&)> onConverted;
    std::function<void(const std::string& path, const DiscSummary& summary, bool compress)>
        onDiscSaved;

private:
    std::string openedPicture_;   // the picture shown in the source box
    std::string sampledPicture_;  // the picture the SampleGrid was taken from
    std::uint64_t opened_ = 0;    // counts the pictures opened
    // The sampling and fit of the last pass, once a picture has been sampled.
    std::optional<SampledWith> sampledWith_;
    std::optional<Conversion> lastConversion_;
    DiscList disc_;
    BackgroundWorker sampler_;  // last, so that it stops before the rest goes
};
