#pragma once

#include <cstdint>
#include <vector>

#include "acquire/streaming/Orientation.h"
#include "acquire/streaming/RowFeed.h"
#include "acquire/streaming/SampleMapping.h"

class PictureBox;

// Point sampling fed row by row: keeps the one pixel of each grid position and nothing else.
// The mapping is over the upright picture; the rows it asks for are the stored rows that hold
// those pixels, which for a quarter turn means every stored row with a few columns of each.
class PointSampler : public RowConsumer {
public:
    PointSampler(const SampleMapping& mapping, const StoredPicture& picture);

    const std::vector<int>& NeededRows() const override { return rows_; }
    void TakeRow(int row, const std::uint32_t* pixels) override;
    bool TakesRowsInParallel() const override { return true; }

    // Stores every sample in SampleGrid and draws it into preview, as CaptureSampleGrid does.
    void Store(PictureBox& preview) const;

private:
    struct Tap {
        int row;
        int column;
        int cell;  // x + y * grid width
    };
    int gridWidth_;
    int gridHeight_;
    std::vector<Tap> taps_;             // by row
    std::vector<int> rows_;             // the rows of taps_, each once
    std::vector<std::int32_t> values_;  // colour values by cell; -1 outside the picture
};
