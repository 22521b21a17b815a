#pragma once

#include <climits>
#include <cstdint>
#include <vector>

#include "sample/Orientation.h"

// The rows of a stored picture, handed over one at a time while it decodes, so that nothing
// holds more of the picture than its consumer keeps. A consumer says which rows (and which
// columns of them) it needs; a row source decodes the file and hands over exactly those rows.

// Stored columns [begin, end).
struct ColumnRange {
    int begin = 0;
    int end = INT_MAX;
};

class RowConsumer {
public:
    virtual ~RowConsumer() = default;
    // The stored rows wanted, in increasing order, each once.
    virtual const std::vector<int>& NeededRows() const = 0;
    // The stored columns that TakeRow reads; a source may leave the others of a row unset.
    virtual ColumnRange NeededColumns() const { return {}; }
    // One of the needed rows: the picture's width in pixels 0xXXRRGGBB (the colour as drawn over
    // black; the top byte meaningless), valid only during the call. Each needed row comes once, in
    // the order the source decodes them: a picture stored bottom up comes bottom row first.
    virtual void TakeRow(int row, const std::uint32_t* pixels) = 0;
};

// Which of a picture's height stored rows the consumer needs, as a flag a row.
inline std::vector<bool> WantedRows(const RowConsumer& consumer, int height) {
    std::vector<bool> wanted(static_cast<std::size_t>(height), false);
    for (const int row : consumer.NeededRows())
        if (row < height) wanted[static_cast<std::size_t>(row)] = true;
    return wanted;
}

class RowSource {
public:
    virtual ~RowSource() = default;
    virtual const StoredPicture& Picture() const = 0;
    // Decodes the whole picture, damage anywhere in it included, handing consumer its needed
    // rows. Raises FileError naming the file and the reason (decode/PictureReasons.h) when the
    // picture is cut off, damaged or takes too long, and std::bad_alloc when memory runs out.
    virtual void Feed(RowConsumer& consumer) = 0;
};
