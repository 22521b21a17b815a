#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

// A zeroed buffer of count pixels, backed by huge pages where the system offers them: filling a
// photograph's hundred megabytes page by page costs more than decoding much of it.
std::vector<std::uint32_t> NewPixelBuffer(std::size_t count);

// Asks the system to provide the memory of a large buffer now rather than page by page as it is
// first written. Never changes what the buffer holds, so it may run while others write to it.
void Prefault(void* data, std::size_t bytes);
