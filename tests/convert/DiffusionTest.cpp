// Error diffusion in linear light, the best palette and the palette's VDU 19 text.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>

#include "colour/PaletteText.h"
#include "convert/BestPalette.h"
#include "convert/ErrorDiffusion.h"

namespace {

const Palette kBlackWhite{{0, 7}};

LinearPicture Flat(int width, int height, float red, float green, float blue) {
    LinearPicture picture(width, height);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            float* p = picture.Pixel(x, y);
            p[0] = red;
            p[1] = green;
            p[2] = blue;
        }
    }
    return picture;
}

// The mean linear light of the diffused picture's green channel.
double MeanGreen(const std::vector<std::uint8_t>& logical, const Palette& palette) {
    double sum = 0;
    for (std::uint8_t colour : logical) sum += (palette.physical[colour] >> 1) & 1;
    return sum / static_cast<double>(logical.size());
}

// Atkinson's kernel hands on only six eighths of the error by design, and so is left out.
TEST(Diffusion, FlatGreyKeepsItsLight) {
    for (Diffusion kernel :
         {Diffusion::FloydSteinberg, Diffusion::Sierra, Diffusion::JarvisJudiceNinke}) {
        for (float grey : {0.1f, 0.214f, 0.5f, 0.8f}) {
            SCOPED_TRACE(testing::Message()
                         << "kernel " << static_cast<int>(kernel) << " grey " << grey);
            const auto logical =
                DiffuseOntoPalette(Flat(320, 256, grey, grey, grey), kBlackWhite, kernel);
            EXPECT_NEAR(MeanGreen(logical, kBlackWhite), grey, 0.01 * grey);
        }
    }
}

TEST(Diffusion, OddRowsRunRightToLeft) {
    // A row after an exactly matched (black) row gets no error from above, so it is diffused as
    // the first row would be, only from the other side: a ramp first, its mirror image second.
    constexpr int kWidth = 11;
    LinearPicture rampFirst = Flat(kWidth, 2, 0, 0, 0);
    LinearPicture rampSecond = Flat(kWidth, 2, 0, 0, 0);
    for (int x = 0; x < kWidth; ++x) {
        std::fill_n(rampFirst.Pixel(x, 0), 3, 0.1f + 0.05f * x);
        std::fill_n(rampSecond.Pixel(kWidth - 1 - x, 1), 3, 0.1f + 0.05f * x);
    }
    for (Diffusion kernel : {Diffusion::FloydSteinberg, Diffusion::JarvisJudiceNinke}) {
        const auto first = DiffuseOntoPalette(rampFirst, kBlackWhite, kernel);
        const auto second = DiffuseOntoPalette(rampSecond, kBlackWhite, kernel);
        const std::vector<std::uint8_t> rowOne(first.begin(), first.begin() + kWidth);
        std::vector<std::uint8_t> rowTwo(second.begin() + kWidth, second.end());
        std::reverse(rowTwo.begin(), rowTwo.end());
        ASSERT_NE(rowOne, std::vector<std::uint8_t>(rowOne.rbegin(), rowOne.rend()))
            << "the pattern must show its direction";
        EXPECT_EQ(rowTwo, rowOne);
    }
}

// Sky blue above, cyan sea below, a dark band: colours that black, red, yellow and white
// cannot mix.
LinearPicture BlueAndCyanPicture() {
    LinearPicture picture(160, 128);
    for (int y = 0; y < picture.height; ++y) {
        for (int x = 0; x < picture.width; ++x) {
            float* p = picture.Pixel(x, y);
            const float shade = 0.3f + 0.6f * static_cast<float>(x) / picture.width;
            if (y < 60) {
                p[0] = 0.02f, p[1] = 0.05f, p[2] = shade;
            } else if (y < 70) {
                p[0] = p[1] = p[2] = 0.01f;
            } else {
                p[0] = 0.02f, p[1] = shade, p[2] = shade;
            }
        }
    }
    return picture;
}

TEST(BestPalette, FindsTheColoursThePictureNeeds) {
    const LinearPicture picture = BlueAndCyanPicture();
    const Palette best = BestPalette(picture, 4, Diffusion::FloydSteinberg);
    ASSERT_EQ(best.physical.size(), 4u);
    for (std::uint8_t needed : {4, 6}) {
        EXPECT_NE(std::find(best.physical.begin(), best.physical.end(), needed),
                  best.physical.end())
            << PhysicalColourName(needed);
    }
    EXPECT_TRUE(std::is_sorted(best.physical.begin(), best.physical.end()));
    const Palette standard{{0, 1, 3, 7}};
    EXPECT_LT(DiffusedDifference(picture, best, Diffusion::FloydSteinberg),
              0.5 * DiffusedDifference(picture, standard, Diffusion::FloydSteinberg));
}

// Reddish browns in soft waves with a fine grain, as in a photograph of a ginger cat: the MODE's
// own red and yellow suit them. A palette judged on blocks of a shrunken copy took blue instead
// of yellow.
TEST(BestPalette, KeepsTheColoursAWarmPictureNeeds) {
    LinearPicture picture(320, 256);
    for (int y = 0; y < picture.height; ++y) {
        for (int x = 0; x < picture.width; ++x) {
            const float wave = 0.5f + 0.5f * std::sin(0.02f * x + 0.013f * y);
            const float grain = static_cast<float>((x / 2 + y) % 5) * 0.05f;
            const float light = (0.05f + 0.5f * wave) * (1 + grain);
            float* p = picture.Pixel(x, y);
            p[0] = std::min(light, 1.0f);
            p[1] = 0.3f * light;
            p[2] = 0.12f * light;
        }
    }
    const Palette best = BestPalette(picture, 4, Diffusion::Atkinson);
    for (std::uint8_t needed : {1, 3}) {
        EXPECT_NE(std::find(best.physical.begin(), best.physical.end(), needed),
                  best.physical.end())
            << PhysicalColourName(needed);
    }
}

TEST(PaletteText, Vdu19LinesNameOnlyTheChangedColours) {
    struct Case {
        std::vector<std::uint8_t> physical;
        int mode;
        const char* line;
    };
    const std::array<Case, 5> cases{{
        {{0, 4, 6, 7}, 1, "VDU 19,1,4;0;19,2,6;0;"},
        {{0, 1, 3, 7}, 5, ""},
        {{4, 3}, 0, "VDU 19,0,4;0;19,1,3;0;"},
        {{0, 7}, 4, ""},
        {{7, 6, 5, 4}, 5, "VDU 19,0,7;0;19,1,6;0;19,2,5;0;19,3,4;0;"},
    }};
    for (const Case& c : cases) {
        EXPECT_EQ(Vdu19Line(Palette{c.physical}, c.mode), c.line) << "MODE " << c.mode;
    }
}

TEST(PaletteText, ListsAreReadInOrder) {
    struct Case {
        const char* list;
        std::optional<std::vector<std::uint8_t>> physical;
    };
    const std::array<Case, 7> cases{{
        {"black,blue,cyan,white", std::vector<std::uint8_t>{0, 4, 6, 7}},
        {"White,RED", std::vector<std::uint8_t>{7, 1}},
        {"magenta,green,yellow,black", std::vector<std::uint8_t>{5, 2, 3, 0}},
        {"", std::nullopt},
        {"black,,white", std::nullopt},
        {"black,white,", std::nullopt},
        {"black,pink", std::nullopt},
    }};
    for (const Case& c : cases) {
        const std::optional<Palette> got = ParsePaletteList(c.list);
        const auto physical = got ? std::optional(got->physical) : std::nullopt;
        EXPECT_EQ(physical, c.physical) << c.list;
    }
}

}  // namespace
