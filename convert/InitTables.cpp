#include <array>

#include "convert/Module1.h"

namespace Module1 {
namespace {

struct PaletteEntry {
    int mode;
    int colour;
    std::int16_t blue, green, red;
};

// The BBC Micro's default logical colours of each mode.
constexpr std::array<PaletteEntry, 14> kDefaultPalettes{{
    {0, 0, 0, 0, 0},  // black
    {0, 1, 1, 1, 1},  // white
    {1, 0, 0, 0, 0},  // black
    {1, 1, 0, 0, 1},  // red
    {1, 2, 0, 1, 1},  // yellow
    {1, 3, 1, 1, 1},  // white
    {2, 0, 0, 0, 0},  // black
    {2, 1, 0, 0, 1},  // red
    {2, 2, 0, 1, 0},  // green
    {2, 3, 0, 1, 1},  // yellow
    {2, 4, 1, 0, 0},  // blue
    {2, 5, 1, 0, 1},  // magenta
    {2, 6, 1, 1, 0},  // cyan
    {2, 7, 1, 1, 1},  // white
}};

// Rows are y = 0..3 from the top, each listing x = 0..3.
using PatternRows = std::array<std::array<std::int16_t, 4>, 4>;
constexpr PatternRows kFine{{{8, 2, 10, 0}, {7, 13, 5, 15}, {11, 1, 9, 3}, {4, 14, 6, 12}}};
constexpr PatternRows kCoarse{{{9, 11, 1, 7}, {13, 15, 3, 5}, {0, 6, 8, 10}, {2, 4, 12, 14}}};
constexpr PatternRows kSpiral{{{3, 2, 1, 0}, {4, 13, 12, 11}, {5, 14, 15, 10}, {6, 7, 8, 9}}};
constexpr PatternRows kDiagonal{{{0, 13, 10, 7}, {4, 1, 14, 11}, {8, 5, 2, 15}, {12, 9, 6, 3}}};

void Store(TonePattern& pattern, const PatternRows& rows) {
    for (int y = 0; y < 4; ++y) {
        for (int x = 0; x < 4; ++x) pattern(x, y) = rows[y][x];
    }
}

}  // namespace

void InitTables() {
    for (const PaletteEntry& e : kDefaultPalettes) {
        // Modes 4 and 5 show the same colours as modes 0 and 1.
        for (int mode : {e.mode, e.mode == 0 ? 4 : e.mode == 1 ? 5 : e.mode}) {
            PaletteBits(0, mode, e.colour) = e.blue;
            PaletteBits(1, mode, e.colour) = e.green;
            PaletteBits(2, mode, e.colour) = e.red;
        }
    }
    Store(PatternFine, kFine);
    Store(PatternCoarse, kCoarse);
    Store(PatternSpiral, kSpiral);
    Store(PatternDiagonal, kDiagonal);
}

}  // namespace Module1
