#include "platform/PictureBox.h"

#include <algorithm>
#include <stdexcept>
#include <utility>

PictureBox::PictureBox(int width, int height, std::uint32_t backColour)
    : width_(width), height_(height), backColour_(backColour) {
    if (width < 0 || height < 0) throw std::invalid_argument("picture box size is negative");
    pixels_.assign(static_cast<std::size_t>(width) * height, backColour);
}

void PictureBox::Cls() {
    std::fill(pixels_.begin(), pixels_.end(), backColour_);
    Touch();
}

void PictureBox::PSet(int x, int y, std::int32_t colour) {
    if (x < 0 || y < 0 || x >= width_ || y >= height_) return;
    Row(y)[x] = static_cast<std::uint32_t>(colour);
    Touch();
}

std::int32_t PictureBox::Point(int x, int y) const {
    if (x < 0 || y < 0 || x >= width_ || y >= height_) return kNoColour;
    return static_cast<std::int32_t>(Row(y)[x]);
}

void PictureBox::SetPicture(int width, int height, std::vector<std::uint32_t> pixels) {
    if (width < 0 || height < 0 ||
        pixels.size() != static_cast<std::size_t>(width) * static_cast<std::size_t>(height)) {
        throw std::invalid_argument("picture size does not match its pixels");
    }
    width_ = width;
    height_ = height;
    pixels_ = std::move(pixels);
    Touch();
}
