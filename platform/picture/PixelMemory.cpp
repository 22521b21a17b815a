#include "platform/picture/PixelMemory.h"

#include <sys/mman.h>
#include <unistd.h>

#include <utility>

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

PixelBuffer::PixelBuffer(PixelBuffer&& other) noexcept
    : pixels_(std::exchange(other.pixels_, nullptr)),
      count_(std::exchange(other.count_, 0)),
      owner_(std::move(other.owner_)) {}

PixelBuffer& PixelBuffer::operator=(PixelBuffer&& other) noexcept {
    pixels_ = std::exchange(other.pixels_, nullptr);
    count_ = std::exchange(other.count_, 0);
    owner_ = std::move(other.owner_);
    return *this;
}

void PixelBuffer::KeepFirst(std::size_t count) {
    if (count >= count_) return;
    const auto page = static_cast<std::uintptr_t>(sysconf(_SC_PAGESIZE));
    const auto start = reinterpret_cast<std::uintptr_t>(pixels_ + count);
    const auto end = reinterpret_cast<std::uintptr_t>(pixels_ + count_);
    const std::uintptr_t from = RoundDown(start + page - 1, page);
    const std::uintptr_t to = RoundDown(end, page);
    // Whole pages inside the buffer's own memory hold nothing anyone reads again.
    if (to > from) madvise(reinterpret_cast<void*>(from), to - from, MADV_DONTNEED);
    count_ = count;
}

PixelBuffer NewPixelBuffer(std::size_t count) {
    std::shared_ptr<std::uint32_t[]> memory =
        std::make_unique_for_overwrite<std::uint32_t[]>(count);
    std::uint32_t* pixels = memory.get();
    const auto start = reinterpret_cast<std::uintptr_t>(pixels);
    AdviseHugePages(start, start + count * sizeof(std::uint32_t));
    return PixelBuffer(pixels, count, std::move(memory));
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
