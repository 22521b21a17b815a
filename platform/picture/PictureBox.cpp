#include "platform/picture/PictureBox.h"

#include <algorithm>
#include <stdexcept>
#include <utility>

PictureBox::PictureBox(int width, int height, std::uint32_t backColour)
    : width_(width), height_(height), backColour_(backColour) {
    if (width < 0 || height < 0) throw std::invalid_argument("picture box size is negative");
    pixels_ = NewPixelBuffer(Count());
    std::fill_n(pixels_.get(), Count(), backColour);
}

PictureBox::PictureBox(const PictureBox& other)
    : width_(other.width_),
      height_(other.height_),
      backColour_(other.backColour_),
      layout_(other.layout_),
      pixels_(NewPixelBuffer(other.Count())),
      revision_(other.revision_) {
    std::copy_n(other.pixels_.get(), Count(), pixels_.get());
}

PictureBox::PictureBox(PictureBox&& other) noexcept
    : width_(std::exchange(other.width_, 0)),
      height_(std::exchange(other.height_, 0)),
      backColour_(other.backColour_),
      layout_(other.layout_),
      pixels_(std::move(other.pixels_)),
      revision_(other.revision_) {}

PictureBox& PictureBox::operator=(PictureBox&& other) noexcept {
    width_ = std::exchange(other.width_, 0);
    height_ = std::exchange(other.height_, 0);
    backColour_ = other.backColour_;
    layout_ = other.layout_;
    pixels_ = std::move(other.pixels_);
    // A view repaints whenever the number changes, so it never goes back to an earlier one.
    revision_ = std::max(revision_, other.revision_) + 1;
    return *this;
}

PictureBox& PictureBox::operator=(const PictureBox& other) {
    if (this != &other) *this = PictureBox(other);
    return *this;
}

void PictureBox::Cls() {
    layout_ = Layout::ColourValues;
    std::fill_n(pixels_.get(), Count(), backColour_);
    Touch();
}

void PictureBox::PSet(int x, int y, std::int32_t colour) {
    if (x < 0 || y < 0 || x >= width_ || y >= height_) return;
    auto pixel = static_cast<std::uint32_t>(colour);
    if (layout_ == Layout::Argb32) {
        pixel = 0xFF000000u | ((pixel & 0xFF) << 16) | (pixel & 0xFF00) | ((pixel >> 16) & 0xFF);
    }
    Row(y)[x] = pixel;
    Touch();
}

std::int32_t PictureBox::Point(int x, int y) const {
    if (x < 0 || y < 0 || x >= width_ || y >= height_) return kNoColour;
    const std::uint32_t pixel = Row(y)[x];
    if (layout_ == Layout::Argb32) {
        // 0xAARRGGBB to red in bits 0..7, green 8..15, blue 16..23; the alpha goes.
        return static_cast<std::int32_t>(((pixel >> 16) & 0xFF) | (pixel & 0xFF00) |
                                         ((pixel & 0xFF) << 16));
    }
    return static_cast<std::int32_t>(pixel);
}

void PictureBox::SetPicture(int width, int height, PixelBuffer pixels, Layout layout) {
    if (width < 0 || height < 0) throw std::invalid_argument("picture size is negative");
    if (pixels.size() != static_cast<std::size_t>(width) * static_cast<std::size_t>(height)) {
        throw std::invalid_argument("picture size does not match its pixels");
    }
    width_ = width;
    height_ = height;
    pixels_ = std::move(pixels);
    layout_ = layout;
    Touch();
}

void PictureBox::SetPicture(int width, int height, const std::vector<std::uint32_t>& pixels,
                            Layout layout) {
    if (width < 0 || height < 0 ||
        pixels.size() != static_cast<std::size_t>(width) * static_cast<std::size_t>(height)) {
        throw std::invalid_argument("picture size does not match its pixels");
    }
    PixelBuffer copy = NewPixelBuffer(pixels.size());
    std::copy(pixels.begin(), pixels.end(), copy.get());
    SetPicture(width, height, std::move(copy), layout);
}
