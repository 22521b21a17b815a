#pragma once

#include <array>
#include <cstdint>

#include "screen/TeletextPage.h"

// Which of the SAA5050's character sets draws a cell.
enum class GlyphSet : std::uint8_t { Text, Contiguous, Separated };

// What one character cell shows, once the row's control codes up to it have been applied.
struct TeletextCell {
    std::uint8_t character = 0x20;  // &20-&7F; a control code's cell shows a space or, held, the
                                    // last mosaic
    GlyphSet set = GlyphSet::Text;  // mosaics are the characters with bit 5 set in a mosaic set
    std::uint8_t foreground = 7;    // physical colours
    std::uint8_t background = 0;
    bool doubleHeight = false;  // drawn twice as tall: its top half, or its bottom on a lower row
    bool hidden = false;        // drawn as background: concealed, or normal height on a lower row
    bool flash = false;         // drawn as shown; on the monitor it blinks

    bool operator==(const TeletextCell&) const = default;
};

struct TeletextRow {
    std::array<TeletextCell, kTeletextColumns> cells;
    bool hasDoubleHeight = false;  // so the next row is its lower half
};

// The cells of one row of 40 bytes as the SAA5050 shows them. Every row starts in white text on
// black, contiguous, steady, normal height, without hold. Colour codes (&81-&87, &91-&97),
// Release Graphics and Flash take effect from the next cell ("set after"); the others from
// their own cell ("set at"). A control code's cell shows a space in its background, or in
// graphics mode with Hold Graphics on (at the cell, or released by it) the held mosaic: the last
// mosaic shown in the row, in the set it was shown in. A control code shown as a space clears
// the held mosaic, and so do changes between text and graphics and of height. lowerHalf: the row
// follows one with double height, so its double-height cells show their bottom halves and its
// other cells only background.
TeletextRow DecodeTeletextRow(const std::uint8_t* bytes, bool lowerHalf);
