#pragma once

#include <cstdint>
#include <vector>

#include "platform/picture/PictureBox.h"
#include "screen/TeletextRow.h"

// A character cell on the monitor: 16 of the 640 columns (the 1 MHz character clock against
// the bitmap MODEs' 16 MHz pixel clock) and 20 lines, the two interlaced fields of its 10 dot rows.
inline constexpr int kTeletextCellWidth = 16;
inline constexpr int kTeletextCellLines = 20;

// The 12 half-dots a cell shows on one of its 20 lines (bit 0 the leftmost): the SAA5050's 6
// dots a row, each drawn as two half-dots. Text is rounded as the chip rounds it, adding a
// half-dot beside a dot wherever the other field's row steps diagonally; mosaics are not.
// Contiguous sixels fill three dots across and 3, 4 and 3 dot rows down; separated sixels leave
// out their left column and bottom row.
std::uint16_t GlyphHalfDots(std::uint8_t character, GlyphSet set, int line);

// The lines of a cell as drawn: the cell's own, or for double height the top or bottom half of
// the character stretched over both rows.
std::uint16_t CellHalfDots(const TeletextCell& cell, bool lowerHalf, int line);

// What the monitor shows of a MODE 7 page (kTeletextPageBytes bytes, else
// std::invalid_argument): 640 x 512, the 40 x 25 cells from the top left, lines 500-511 black.
// Each column shows the colours of the half-dots it overlaps, mixed in linear light in
// proportion to their overlap, so the 12 half-dots of a cell fall on its 16 columns as they do
// on the screen. Flashing cells are drawn as shown; concealed ones as background.
PictureBox DisplayTeletext(const std::vector<std::uint8_t>& page);

// The 320 x 256 preview of a display: each pixel the mean of 2 x 2 display pixels in linear
// light.
PictureBox HalveDisplay(const PictureBox& display);
