#pragma once

#include <cstdint>
#include <vector>

#include "platform/picture/PixelMemory.h"

// The drawing surface of a picture box: a width x height area of 32-bit colour values with red
// in bits 0..7, green in 8..15 and blue in 16..23. Coordinates count from the top-left pixel.
// The window shows it on screen; the command-line converter and the tests use it as it is.
class PictureBox {
public:
    static constexpr std::int32_t kNoColour = -1;
    // The light grey of a dialog face, which is what Cls erases to unless told otherwise.
    static constexpr std::uint32_t kDefaultBackColour = 0x00F0F0F0;

    PictureBox() = default;
    PictureBox(int width, int height, std::uint32_t backColour = kDefaultBackColour);
    PictureBox(const PictureBox& other);
    PictureBox& operator=(const PictureBox& other);
    // A box moved from is empty.
    PictureBox(PictureBox&& other) noexcept;
    PictureBox& operator=(PictureBox&& other) noexcept;

    // Erases everything drawn so far to the back colour.
    void Cls();
    // Sets one pixel; a point outside the drawing area is ignored.
    void PSet(int x, int y, std::int32_t colour);
    // The colour of one pixel, or -1 outside the drawing area.
    std::int32_t Point(int x, int y) const;

    double ScaleWidth() const { return width_; }
    double ScaleHeight() const { return height_; }
    int Width() const { return width_; }
    int Height() const { return height_; }
    std::uint32_t BackColour() const { return backColour_; }

    // How a picture's pixels are held: as colour values, or as a decoder delivers them,
    // 0xAARRGGBB, which saves a pass over a photograph's every pixel. Point always answers with
    // colour values.
    enum class Layout { ColourValues, Argb32 };

    // Shows a picture: the box takes the picture's size. pixels holds width * height pixels, row
    // by row from the top; any other count raises std::invalid_argument and changes nothing, so
    // the size never promises pixels that are not there.
    void SetPicture(int width, int height, PixelBuffer pixels,
                    Layout layout = Layout::ColourValues);
    void SetPicture(int width, int height, const std::vector<std::uint32_t>& pixels,
                    Layout layout = Layout::ColourValues);
    Layout PixelLayout() const { return layout_; }

    // Direct access to one row, for code that draws or reads a whole line at a time; the pixels
    // are in PixelLayout(). Drawing (Cls, PSet, the rows) is for colour values only.
    std::uint32_t* Row(int y) { return pixels_.get() + static_cast<std::size_t>(y) * width_; }
    const std::uint32_t* Row(int y) const {
        return pixels_.get() + static_cast<std::size_t>(y) * width_;
    }

    // Counts every change, so that a view knows when to repaint.
    std::uint64_t Revision() const { return revision_; }
    void Touch() { ++revision_; }

private:
    int width_ = 0;
    int height_ = 0;
    std::uint32_t backColour_ = kDefaultBackColour;
    Layout layout_ = Layout::ColourValues;
    std::size_t Count() const { return static_cast<std::size_t>(width_) * height_; }

    PixelBuffer pixels_;
    std::uint64_t revision_ = 0;
};
