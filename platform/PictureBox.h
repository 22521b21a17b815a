#pragma once

#include <cstdint>
#include <vector>

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

    // Shows a picture: the box takes the picture's size. pixels holds width * height colour
    // values, row by row from the top.
    void SetPicture(int width, int height, std::vector<std::uint32_t> pixels);

    // Direct access to one row, for code that draws or reads a whole line at a time.
    std::uint32_t* Row(int y) { return pixels_.data() + static_cast<std::size_t>(y) * width_; }
    const std::uint32_t* Row(int y) const {
        return pixels_.data() + static_cast<std::size_t>(y) * width_;
    }

    // Counts every change, so that a view knows when to repaint.
    std::uint64_t Revision() const { return revision_; }
    void Touch() { ++revision_; }

private:
    int width_ = 0;
    int height_ = 0;
    std::uint32_t backColour_ = kDefaultBackColour;
    std::vector<std::uint32_t> pixels_;
    std::uint64_t revision_ = 0;
};
