#pragma once

#include <cstdint>
#include <vector>

#include "sample/Orientation.h"

// The rows of a stored picture, handed over one at a time while it decodes, so that nothing
// holds the whole picture. A consumer says which rows it needs; a row source decodes the file
// and hands over exactly those rows, top to bottom.
class RowConsumer {
public:
    virtual ~RowConsumer() = default;
    // The stored rows wanted, in increasing order, each once.
    virtual const std::vector<int>& NeededRows() const = 0;
    // One of the needed rows: width pixels 0xXXRRGGBB, the top byte meaningless. The pixels are
    // valid only during the call.
    virtual void TakeRow(int row, const std::uint32_t* pixels) = 0;
    // Whether TakeRow may run on two threads at once, for different rows, each thread's rows in
    // increasing order; a source then may decode two bands of the picture side by side.
    virtual bool TakesRowsInParallel() const { return false; }
};

class RowSource {
public:
    virtual ~RowSource() = default;
    virtual const StoredPicture& Picture() const = 0;
    // Decodes the whole file, damage anywhere in it included, handing consumer its rows. Raises
    // FileError naming the file and the reason when the picture is cut off or damaged.
    virtual void Feed(RowConsumer& consumer) = 0;
};
