#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <utility>

#include "screen/EncodedScreen.h"

class PictureBox;

// The window's document: the picture opened, what was sampled of it and the last conversion
// written. The window builds the controls and forwards its commands here; the conversion itself
// runs through the window's module state (ConversionSettings, the SampleGrid, the tables), which
// the document's procedures fill and read.
class ConversionDocument {
public:
    // A conversion written, with the picture it was sampled from (empty before any picture).
    struct Conversion {
        std::string picture;
        EncodedScreen screen;
    };

    // Loads the picture file into box, which takes its size, and remembers it as the opened
    // picture. On failure raises FileError (or what the loader raises) and changes nothing.
    void Open(const std::string& path, PictureBox& box);

    // The sampling pass over picture (the opened one) with the current Sampling and Fit: fills
    // the SampleGrid and draws the samples into preview.
    void Sample(const PictureBox& picture, PictureBox& preview);

    // Samples again when the Sampling or Fit changed since the last pass, since they decide what
    // the grid holds; nothing before the first pass.
    void ResampleIfChoicesChanged(const PictureBox& picture, PictureBox& preview);

    // WriteImage: encodes the SampleGrid into the screen file and its sidecar, drawing into
    // preview, and remembers the conversion. Raises what WriteImage raises, remembering nothing.
    const Conversion& WriteImage(PictureBox& preview, const std::string& fileName,
                                 std::int32_t maxVal);

    // Writes the last conversion as a one-picture bootable disc, its screen packed with compress
    // and double-sided for a path ending in .dsd; FileError on failure.
    void SaveDisc(const std::string& path, bool compress = false) const;

    const std::optional<Conversion>& LastConversion() const { return lastConversion_; }
    // The name the last conversion's picture suggests for its disc ("screen" without one).
    std::string DiscStem() const;

private:
    std::string openedPicture_;   // the picture shown in the source box
    std::string sampledPicture_;  // the picture the SampleGrid was taken from
    // The sampling and fit of the last pass, once a picture has been sampled.
    std::optional<std::pair<std::int16_t, std::int16_t>> sampledWith_;
    std::optional<Conversion> lastConversion_;
};
