// The searched dither: it only ever improves on its start, keeps the light of flat areas, uses
// only the colours its start uses nearby, and gives the same pixels every time.
#include <gtest/gtest.h>

#include <cmath>

#include "convert/Convert.h"
#include "convert/ErrorDiffusion.h"
#include "convert/SearchedDither.h"

namespace {

// Smooth gradients with a few edges: a picture-like test for every palette.
LinearPicture Scene(int width, int height) {
    LinearPicture picture(width, height);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            float* p = picture.Pixel(x, y);
            const float u = static_cast<float>(x) / width, v = static_cast<float>(y) / height;
            p[0] = u * u;
            p[1] = (x / 16 + y / 16) % 2 ? 0.6f * v : 0.05f;
            p[2] = 0.5f + 0.5f * std::sin(6 * u) * v;
        }
    return picture;
}

LinearPicture Flat(int width, int height, float grey) {
    LinearPicture picture(width, height);
    std::fill(picture.rgb.begin(), picture.rgb.end(), grey);
    return picture;
}

struct Case {
    const char* name;
    Palette palette;
    int width;  // the MODE's pixels across: 640, 320 or 160
};
const Case kCases[] = {
    {"MODE 0 black and white", Palette{{0, 7}}, 640},
    {"MODE 1 standard", Palette{{0, 1, 3, 7}}, 320},
    {"MODE 5 black, blue, cyan, white", Palette{{0, 4, 6, 7}}, 160},
    {"MODE 2 all eight", Palette{{0, 1, 2, 3, 4, 5, 6, 7}}, 160},
};

double Scale(int width) {
    return width / 320.0;
}

TEST(SearchedDither, NeverRaisesItsObjective) {
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.name);
        const LinearPicture picture = Scene(c.width, 64);
        double previous = SearchedObjective(picture, c.palette, Scale(c.width), 0);
        for (int sweeps : {1, 2, 10}) {
            const double now = SearchedObjective(picture, c.palette, Scale(c.width), sweeps);
            EXPECT_LE(now, previous) << sweeps << " sweeps";
            previous = now;
        }
        const auto searched = SearchOntoPalette(picture, c.palette, Scale(c.width));
        EXPECT_LT(SearchObjective(picture, c.palette, Scale(c.width), searched),
                  SearchedObjective(picture, c.palette, Scale(c.width), 0))
            << "the search improves on its start";
    }
}

// Where dots need not be sparse: nearer black or white than about 5% (in linear light), the squared
// error of the blurred terms still prefers an even offset to very sparse dots, and the blocks'
// mean only partly holds it back. The README says so.
TEST(SearchedDither, FlatGreyKeepsItsLight) {
    const Palette blackWhite{{0, 7}};
    for (int width : {640, 320, 160}) {
        for (float grey : {0.214f, 0.5f, 0.8f}) {
            SCOPED_TRACE(testing::Message() << width << " across, grey " << grey);
            const auto logical =
                SearchOntoPalette(Flat(width, 256, grey), blackWhite, Scale(width));
            double lit = 0;
            for (std::uint8_t colour : logical) lit += colour;
            EXPECT_NEAR(lit / static_cast<double>(logical.size()), grey, 0.02 * grey);
        }
    }
}

TEST(SearchedDither, TakesOnlyTheColoursItsStartUsesNearby) {
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.name);
        const LinearPicture picture = Scene(c.width, 48);
        // The start hands on at most half of each channel's error.
        const auto start = DiffuseWithLimitedError(picture, c.palette, 0.5f);
        const auto searched = SearchOntoPalette(picture, c.palette, Scale(c.width));
        ASSERT_EQ(searched.size(), start.size());
        int switched = 0, strays = 0;
        for (int y = 0; y < picture.height; ++y)
            for (int x = 0; x < picture.width; ++x) {
                const std::uint8_t colour = searched[y * picture.width + x];
                switched += colour != start[y * picture.width + x];
                bool nearby = false;
                for (int j = std::max(0, y - 2); j <= std::min(picture.height - 1, y + 2); ++j)
                    for (int i = std::max(0, x - 2); i <= std::min(picture.width - 1, x + 2); ++i)
                        nearby = nearby || start[j * picture.width + i] == colour;
                strays += !nearby;
            }
        EXPECT_GT(switched, 0) << "nothing was searched";
        EXPECT_EQ(strays, 0);
    }
}

TEST(SearchedDither, SameScreenEveryRun) {
    std::vector<std::int32_t> colours;
    for (int i = 0; i < kGridColumns * kGridRows; ++i)
        colours.push_back((i * 37) % 256 | ((i / 320) % 256) << 8 | ((i * 11) % 256) << 16);
    const Samples samples(colours);
    for (ScreenMode mode : {ScreenMode::Mode0, ScreenMode::Mode1, ScreenMode::Mode5}) {
        SCOPED_TRACE(ModeNumber(mode));
        ConversionChoices choices;
        choices.screenMode = mode;
        choices.diffusion = Diffusion::Search;
        choices.palette = PaletteChoice::Best;
        const EncodedScreen first = Convert(samples, choices);
        const EncodedScreen second = Convert(samples, choices);
        EXPECT_EQ(first.bytes, second.bytes);
        EXPECT_EQ(first.palette, second.palette);
    }
}

}  // namespace
