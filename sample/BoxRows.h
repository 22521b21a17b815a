#pragma once

#include <cstdint>
#include <vector>

#include "sample/RowFeed.h"

class PictureBox;

// A picture held in a picture box, handed over row by row as a picture stored upright, so that
// it is sampled by the same samplers as a file that decodes. Colour values (PictureBox's
// ColourValues layout) come out as 0x00RRGGBB.
class BoxRows : public RowSource {
public:
    explicit BoxRows(const PictureBox& box);
    const StoredPicture& Picture() const override { return picture_; }
    void Feed(RowConsumer& consumer) override;

private:
    const PictureBox& box_;
    StoredPicture picture_;
    std::vector<std::uint32_t> row_;
};
