#include "platform/picture/PixelMemory.h"

#include <sys/mman.h>
#include <unistd.h>

namespace {

std::uintptr_t RoundDown(std::uintptr_t address, std::uintptr_t unit) {
    return address & ~(unit - 1);
}

void AdviseHugePages(std::uintptr_t start, std::uintptr_t end) {
    // Only advice: where there are no huge pages to be had, the buffer stays as it is.
    constexpr std::uintptr_t kHugePage = std::uintptr_t{2} << 20;
    const std::uintptr_t from = RoundDown(start + kHugePage - 1, kHugePage);
    const std::uintptr_t to = RoundDown(end, kHugePage);
    if (to > from) madvise(reinterpret_cast<void*>(from), to - from, MADV_HUGEPAGE);
}

}  // namespace

PixelBuffer NewPixelBuffer(std::size_t count) {
    PixelBuffer pixels = std::make_unique_for_overwrite<std::uint32_t[]>(count);
    const auto start = reinterpret_cast<std::uintptr_t>(pixels.get());
    AdviseHugePages(start, start + count * sizeof(std::uint32_t));
    return pixels;
}

void Prefault(void* data, std::size_t bytes) {
    const auto start = reinterpret_cast<std::uintptr_t>(data);
    AdviseHugePages(start, start + bytes);
#ifdef MADV_POPULATE_WRITE
    const auto page = static_cast<std::uintptr_t>(sysconf(_SC_PAGESIZE));
    const std::uintptr_t from = RoundDown(start, page);
    madvise(reinterpret_cast<void*>(from), start + bytes - from, MADV_POPULATE_WRITE);
#endif
}
