#include "teletext/SixelColours.h"

namespace {

SixelColours Make() {
    SixelColours colours;
    for (int c = 0; c < 8; ++c) {
        for (int k = 0; k < 3; ++k) colours.pure[c][k] = static_cast<float>(c >> k & 1);
        colours.pureLab[c] =
            LabOfLinear(colours.pure[c][0], colours.pure[c][1], colours.pure[c][2]);
    }
    for (int pair = 0; pair < kSixelRows; ++pair)
        for (int fg = 0; fg < 8; ++fg)
            for (int bg = 0; bg < 8; ++bg) {
                auto& mix = colours.separated[pair][fg][bg];
                const float share = SeparatedShare(pair);
                for (int k = 0; k < 3; ++k)
                    mix[k] = share * colours.pure[fg][k] + (1 - share) * colours.pure[bg][k];
                colours.separatedLab[pair][fg][bg] = LabOfLinear(mix[0], mix[1], mix[2]);
            }
    return colours;
}

}  // namespace

const SixelColours& TheSixelColours() {
    static const SixelColours colours = Make();
    return colours;
}

float SeparatedShare(int pair) {
    return pair == 1 ? 2.0f / 3.0f * 3.0f / 4.0f : 2.0f / 3.0f * 2.0f / 3.0f;
}

void ShownSixels(const TeletextCell& cell, float rgb[kSixelsPerCell][3]) {
    const SixelColours& colours = TheSixelColours();
    const bool mosaic = cell.set != GlyphSet::Text && IsSixelCharacter(cell.character) &&
                        !cell.hidden && !cell.doubleHeight;
    const int pattern = mosaic ? SixelPattern(cell.character) : 0;
    for (int s = 0; s < kSixelsPerCell; ++s) {
        const float* shown = colours.pure[cell.background].data();
        if (pattern >> s & 1) {
            shown = cell.set == GlyphSet::Separated
                        ? colours.separated[s / 2][cell.foreground][cell.background].data()
                        : colours.pure[cell.foreground].data();
        }
        for (int k = 0; k < 3; ++k) rgb[s][k] = shown[k];
    }
}
