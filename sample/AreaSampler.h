#pragma once

#include <cstdint>
#include <vector>

#include "sample/LinearSums.h"
#include "sample/Orientation.h"
#include "sample/RowFeed.h"
#include "sample/SampleGeometry.h"

// Area sampling fed row by row: every stored row that a grid cell covers is added, in linear
// light, to the sums of the cells it falls in as it arrives, so that only the grid's sums are
// held, never the picture. The geometry is over the upright picture; under a quarter turn a grid
// column covers stored rows and a grid row stored columns, so each cell is a rectangle of the
// stored picture either way.
class AreaSampler : public RowConsumer {
public:
    AreaSampler(const SampleGeometry& geometry, const StoredPicture& picture);

    const std::vector<int>& NeededRows() const override { return rows_; }
    ColumnRange NeededColumns() const override { return columns_; }
    // Integer sums come out the same whatever order the rows come in.
    void TakeRow(int row, const std::uint32_t* pixels) override;

    // The cells' mean colours, as AreaAverages gives them for the upright picture.
    std::vector<std::uint32_t> Colours() const;

private:
    // A stored row and one of the cells along the stored rows' axis that covers it.
    struct Cover {
        int row;
        int cell;
    };
    SampleGeometry geometry_;
    std::vector<SourceSpan> across_;  // the stored columns of each cell along a stored row
    std::size_t downStride_;          // between cells along the stored rows' axis
    std::size_t acrossStride_;        // between cells along a stored row
    std::vector<Cover> covers_;       // by row
    std::vector<int> rows_;           // the rows of covers_, each once
    ColumnRange columns_{0, 0};       // the stored columns that any cell covers
    std::vector<LinearSum> sums_;     // by grid cell, x + y * grid width
};
