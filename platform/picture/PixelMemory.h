#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>

// The pixels of a picture, row by row.
using PixelBuffer = std::unique_ptr<std::uint32_t[]>;

// A buffer of count pixels, not cleared (whoever asks for it fills it), backed by huge pages
// where the system offers them: taking on a photograph's hundred megabytes page by page costs
// more than decoding much of it.
PixelBuffer NewPixelBuffer(std::size_t count);

// Asks the system to provide the memory of a large buffer now rather than page by page as it is
// first written. Never changes what the buffer holds, so it may run while others write to it.
void Prefault(void* data, std::size_t bytes);
