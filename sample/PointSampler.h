#pragma once

#include <cstdint>
#include <vector>

#include "sample/Orientation.h"
#include "sample/RowFeed.h"
#include "sample/SampleMapping.h"
#include "sample/Samples.h"

// Point sampling fed row by row: keeps the one pixel of each grid position and nothing else.
// The mapping is over the upright picture; the rows it asks for are the stored rows that hold
// those pixels, which for a quarter turn means every stored row with a few columns of each.
class PointSampler : public RowConsumer {
public:
    PointSampler(const SampleMapping& mapping, const StoredPicture& picture);

    const std::vector<int>& NeededRows() const override { return rows_; }
    ColumnRange NeededColumns() const override { return columns_; }
    void TakeRow(int row, const std::uint32_t* pixels) override;

    // The samples taken, as SamplePicture takes them from the whole picture.
    Samples Taken() const { return Samples(values_); }

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
    ColumnRange columns_{0, 0};         // the columns of taps_
    std::vector<std::int32_t> values_;  // colour values by cell; -1 outside the picture
};
