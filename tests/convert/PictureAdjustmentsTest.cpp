// Picture adjustments in linear light: neutral values change nothing, each adjustment moves a
// known colour where its definition says, and auto levels stretches only what needs it.
#include <gtest/gtest.h>

#include <array>
#include <cmath>

#include "convert/PictureAdjustments.h"

namespace {

// sRGB's own definition, to check against.
double Linear(int level) {
    const double v = level / 255.0;
    return v <= 0.04045 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4);
}
int Level(double linear) {
    linear = std::clamp(linear, 0.0, 1.0);
    const double v =
        linear <= 0.0031308 ? 12.92 * linear : 1.055 * std::pow(linear, 1 / 2.4) - 0.055;
    return static_cast<int>(std::lround(255 * v));
}

using Rgb = std::array<int, 3>;

// The first `share` of the cells `first`, the rest `rest`.
Samples TwoColours(const Rgb& first, const Rgb& rest, double share) {
    std::vector<std::int32_t> colours(kGridColumns * kGridRows);
    for (std::size_t i = 0; i < colours.size(); ++i) {
        const Rgb& c = i < share * colours.size() ? first : rest;
        colours[i] = c[0] | c[1] << 8 | c[2] << 16;
    }
    return Samples(colours);
}

Rgb At(const SamplePlanes& planes, int x, int y) {
    return {planes.RedPlane(x, y), planes.GreenPlane(x, y), planes.BluePlane(x, y)};
}

bool Same(const SamplePlanes& a, const SamplePlanes& b) {
    for (int y = 0; y <= kGridRows; ++y)
        for (int x = 0; x <= kGridColumns; ++x)
            if (At(a, x, y) != At(b, x, y)) return false;
    return true;
}

TEST(PictureAdjustments, NeutralValuesChangeNothing) {
    std::vector<std::int32_t> colours;
    for (int i = 0; i < kGridColumns * kGridRows; ++i)
        colours.push_back(i * 2654435761u & 0xFFFFFF);
    const Samples samples(colours);
    const PictureAdjustments spelledOut{0, 0, 0, 1.0, false};
    EXPECT_TRUE(Same(Adjusted(samples.Planes(), spelledOut), samples.Planes()));
    // A picture whose own range is already full: auto levels has nothing to stretch.
    const Samples full = TwoColours({0, 0, 0}, {255, 255, 255}, 0.3);
    std::vector<std::int32_t> mixed = full.Colours();
    for (std::size_t i = 0; i < mixed.size(); i += 3) mixed[i] = colours[i];
    const Samples fullRange(mixed);
    EXPECT_TRUE(Same(Adjusted(fullRange.Planes(), {0, 0, 0, 1.0, true}), fullRange.Planes()));
}

TEST(PictureAdjustments, EachMovesAKnownColour) {
    const Rgb patch{60, 140, 200};
    const auto each = [&](auto f) {
        return Rgb{Level(f(Linear(patch[0]))), Level(f(Linear(patch[1]))),
                   Level(f(Linear(patch[2])))};
    };
    const double grey =
        0.2126 * Linear(patch[0]) + 0.7152 * Linear(patch[1]) + 0.0722 * Linear(patch[2]);
    struct Case {
        const char* name;
        PictureAdjustments adjustments;
        Rgb wanted;
    };
    const Case cases[] = {
        {"brightness +50 doubles the light", {50, 0, 0, 1.0, false}, each([](double v) {
             return 2 * v;
         })},
        {"brightness -100 quarters it", {-100, 0, 0, 1.0, false}, each([](double v) {
             return v / 4;
         })},
        {"contrast +100 doubles distances from mid grey in stops",
         {0, 100, 0, 1.0, false},
         each([](double v) { return 0.18 * std::pow(v / 0.18, 2.0); })},
        {"contrast -100 halves them", {0, -100, 0, 1.0, false}, each([](double v) {
             return 0.18 * std::sqrt(v / 0.18);
         })},
        {"gamma 2 takes square roots", {0, 0, 0, 2.0, false}, each([](double v) {
             return std::sqrt(v);
         })},
        {"saturation -100 leaves the grey of the same luminance",
         {0, 0, -100, 1.0, false},
         Rgb{Level(grey), Level(grey), Level(grey)}},
        {"saturation +50 goes half as far again from it",
         {0, 0, 50, 1.0, false},
         each([&](double v) { return grey + 1.5 * (v - grey); })},
    };
    const Samples samples = TwoColours(patch, patch, 1.0);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const Rgb got = At(Adjusted(samples.Planes(), c.adjustments), 100, 100);
        for (int k = 0; k < 3; ++k) EXPECT_NEAR(got[k], c.wanted[k], 1) << "channel " << k;
    }
}

TEST(PictureAdjustments, AutoLevelsStretchesTheOwnRangeAndSkipsTheBorder) {
    // A dull picture, levels 40 to 120, inside a black border on every side.
    std::vector<std::int32_t> colours(kGridColumns * kGridRows, 0);
    for (int y = 20; y < 236; ++y)
        for (int x = 40; x < 280; ++x)
            colours[y * kGridColumns + x] = x < 160 ? 0x282828 : 0x787878;
    const SamplePlanes stretched = Adjusted(Samples(colours).Planes(), {0, 0, 0, 1.0, true});
    EXPECT_EQ(At(stretched, 50, 50), (Rgb{0, 0, 0}));
    EXPECT_EQ(At(stretched, 200, 50), (Rgb{255, 255, 255}));
    EXPECT_EQ(At(stretched, 5, 5), (Rgb{0, 0, 0})) << "the border stays black";
}

}  // namespace
