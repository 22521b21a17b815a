#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>

// The pixels of a picture, row by row, and how many there are. The memory is either the
// buffer's own or lent by an owner (a decoder's image, say) that it keeps alive.
class PixelBuffer {
public:
    PixelBuffer() = default;
    PixelBuffer(std::uint32_t* pixels, std::size_t count, std::shared_ptr<void> owner)
        : pixels_(pixels), count_(count), owner_(std::move(owner)) {}
    // A buffer moved from is empty.
    PixelBuffer(PixelBuffer&& other) noexcept;
    PixelBuffer& operator=(PixelBuffer&& other) noexcept;

    std::uint32_t* get() const { return pixels_; }
    std::size_t size() const { return count_; }
    explicit operator bool() const { return pixels_ != nullptr; }

    // Keeps only the first count pixels (count <= size()) and gives the memory of the rest back
    // to the system, though the buffer stays where it is.
    void KeepFirst(std::size_t count);

private:
    std::uint32_t* pixels_ = nullptr;
    std::size_t count_ = 0;
    std::shared_ptr<void> owner_;
};

// A buffer of count pixels, not cleared (whoever asks for it fills it), backed by huge pages
// where the system offers them: taking on a photograph's hundred megabytes page by page costs
// more than decoding much of it. Throws std::bad_alloc when the memory is not there.
PixelBuffer NewPixelBuffer(std::size_t count);

// Asks the system to provide the memory of a large buffer now rather than page by page as it is
// first written. Never changes what the buffer holds, so it may run while others write to it.
void Prefault(void* data, std::size_t bytes);
