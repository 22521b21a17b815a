#include "screen/DisplayTeletext.h"

#include <algorithm>
#include <array>
#include <stdexcept>
#include <string>

#include "colour/LinearLight.h"
#include "screen/DisplayScreen.h"
#include "screen/Saa5050Font.h"

namespace {

constexpr int kHalfDots = 12;
constexpr int kDisplayLines = kTeletextRows * kTeletextCellLines;

// A dot row (0-9) of a character as the chip's 12 half-dots.
std::uint16_t RomHalfDots(std::uint8_t character, int dotRow) {
    if (dotRow < 1 || dotRow > 9) return 0;
    const std::uint8_t dots = Saa5050Rom()[character - 0x20][dotRow - 1];
    std::uint16_t halfDots = 0;
    for (int dot = 1; dot <= 5; ++dot)
        if (dots >> (5 - dot) & 1) halfDots |= 3u << (2 * dot);
    return halfDots;
}

std::uint16_t SixelHalfDots(std::uint8_t character, bool separated, int dotRow) {
    // Dot rows 0-2, 3-6 and 7-9 hold the three pairs; a separated sixel loses the last of them.
    const int pair = dotRow < 3 ? 0 : dotRow < 7 ? 1 : 2;
    if (separated && (dotRow == 2 || dotRow == 6 || dotRow == 9)) return 0;
    const int pattern = SixelPattern(character);
    const std::uint16_t left = separated ? 0x03C : 0x03F;  // half-dots 2-5, or 0-5
    std::uint16_t halfDots = 0;
    if (pattern >> (2 * pair) & 1) halfDots |= left;
    if (pattern >> (2 * pair + 1) & 1) halfDots |= left << 6;
    return halfDots;
}

// The rounding the chip does between a line and the other field's line beside it: a half-dot is
// added next to a dot where the neighbouring row has a dot there and steps away diagonally.
std::uint16_t Rounded(std::uint16_t row, std::uint16_t neighbour) {
    const unsigned a = row, b = neighbour;
    return static_cast<std::uint16_t>(a | ((a >> 1) & b & ~(b >> 1)) | ((a << 1) & b & ~(b << 1)));
}

// How much of each of the 16 columns each half-dot covers, in thirds of a column: half-dot k
// spans columns 4k/3 to 4(k+1)/3.
struct Coverage {
    std::array<std::array<std::uint8_t, kTeletextCellWidth>, kHalfDots> thirds{};
    Coverage() {
        for (int k = 0; k < kHalfDots; ++k)
            for (int column = 0; column < kTeletextCellWidth; ++column) {
                const int from = std::max(4 * k, 3 * column);
                const int to = std::min(4 * k + 4, 3 * column + 3);
                thirds[k][column] = static_cast<std::uint8_t>(std::max(0, to - from));
            }
    }
};

// The display colour of a column covered w thirds by foreground, the rest background.
struct Mixes {
    std::array<std::uint32_t, 8 * 8 * 4> colour{};
    Mixes() {
        for (int fg = 0; fg < 8; ++fg)
            for (int bg = 0; bg < 8; ++bg)
                for (int w = 0; w <= 3; ++w) {
                    std::uint32_t value = 0;
                    for (int channel = 0; channel < 3; ++channel) {
                        const float on = static_cast<float>(fg >> channel & 1);
                        const float off = static_cast<float>(bg >> channel & 1);
                        const float linear = (on * w + off * (3 - w)) / 3.0f;
                        value |= static_cast<std::uint32_t>(LevelOfLinear(linear)) << (8 * channel);
                    }
                    colour[(fg * 8 + bg) * 4 + w] = value;
                }
    }
};

void DrawCellLine(std::uint16_t halfDots, int fg, int bg, std::uint32_t* out) {
    static const Coverage coverage;
    static const Mixes mixes;
    std::array<int, kTeletextCellWidth> weight{};
    for (int k = 0; k < kHalfDots; ++k) {
        if (!(halfDots >> k & 1)) continue;
        for (int column = 0; column < kTeletextCellWidth; ++column)
            weight[column] += coverage.thirds[k][column];
    }
    for (int column = 0; column < kTeletextCellWidth; ++column)
        out[column] = mixes.colour[(fg * 8 + bg) * 4 + weight[column]];
}

}  // namespace

std::uint16_t GlyphHalfDots(std::uint8_t character, GlyphSet set, int line) {
    character = static_cast<std::uint8_t>(character & 0x7F);
    if (character < 0x20 || line < 0 || line >= kTeletextCellLines) return 0;
    if (set != GlyphSet::Text && IsSixelCharacter(character))
        return SixelHalfDots(character, set == GlyphSet::Separated, line / 2);
    const int neighbour = line + (line % 2 == 1 ? 1 : -1);
    const std::uint16_t other = neighbour >= 0 && neighbour < kTeletextCellLines
                                    ? RomHalfDots(character, neighbour / 2)
                                    : std::uint16_t{0};
    return Rounded(RomHalfDots(character, line / 2), other);
}

std::uint16_t CellHalfDots(const TeletextCell& cell, bool lowerHalf, int line) {
    if (cell.hidden) return 0;
    if (cell.doubleHeight) line = line / 2 + (lowerHalf ? kTeletextCellLines / 2 : 0);
    return GlyphHalfDots(cell.character, cell.set, line);
}

PictureBox DisplayTeletext(const std::vector<std::uint8_t>& page) {
    if (page.size() != static_cast<std::size_t>(kTeletextPageBytes)) {
        throw std::invalid_argument("a MODE 7 screen is " + std::to_string(kTeletextPageBytes) +
                                    " bytes long");
    }
    PictureBox display(kDisplayWidth, kDisplayHeight, 0);
    bool lowerHalf = false;
    for (int r = 0; r < kTeletextRows; ++r) {
        const TeletextRow row = DecodeTeletextRow(page.data() + r * kTeletextColumns, lowerHalf);
        for (int line = 0; line < kTeletextCellLines; ++line) {
            std::uint32_t* out = display.Row(r * kTeletextCellLines + line);
            for (const TeletextCell& cell : row.cells) {
                DrawCellLine(CellHalfDots(cell, lowerHalf, line), cell.foreground, cell.background,
                             out);
                out += kTeletextCellWidth;
            }
        }
        lowerHalf = !lowerHalf && row.hasDoubleHeight;
    }
    for (int y = kDisplayLines; y < kDisplayHeight; ++y)
        std::fill(display.Row(y), display.Row(y) + kDisplayWidth, 0u);
    display.Touch();
    return display;
}

PictureBox HalveDisplay(const PictureBox& display) {
    const int width = display.Width() / 2, height = display.Height() / 2;
    PictureBox half(width, height, 0);
    const std::array<float, 256>& linear = LinearOfLevel();
    for (int y = 0; y < height; ++y) {
        const std::uint32_t* top = display.Row(2 * y);
        const std::uint32_t* bottom = display.Row(2 * y + 1);
        std::uint32_t* out = half.Row(y);
        for (int x = 0; x < width; ++x) {
            std::uint32_t value = 0;
            for (int channel = 0; channel < 3; ++channel) {
                const auto level = [channel, &linear](std::uint32_t colour) {
                    return linear[colour >> (8 * channel) & 0xFF];
                };
                const float mean = (level(top[2 * x]) + level(top[2 * x + 1]) +
                                    level(bottom[2 * x]) + level(bottom[2 * x + 1])) /
                                   4.0f;
                value |= static_cast<std::uint32_t>(LevelOfLinear(mean)) << (8 * channel);
            }
            out[x] = value;
        }
    }
    half.Touch();
    return half;
}
