// The picture choices on the command line: how they are read, how --photo and options given
// outright combine, and what the converter prints.
#include <gtest/gtest.h>

#include "cli/CommandLine.h"
#include "convert/PhotoSettings.h"

namespace {

ConversionChoices ChoicesOf(const std::vector<std::string>& args) {
    const ParsedCommandLine parsed = ParseCommandLine(args);
    EXPECT_EQ(parsed.error, "");
    ConversionChoices choices;
    ApplyPictureOptions(parsed.options.picture, choices);
    choices.halftone = static_cast<Halftone>(parsed.options.toneStyle);
    return choices;
}

TEST(PictureOptions, ChoicesInEverySpelling) {
    struct Case {
        std::vector<std::string> args;
        int tone, diffusion, palette, sampling, fit;
    };
    const Case cases[] = {
        {{"-t", "atkinson", "p.bmp"}, 0, 2, 0, 0, 0},
        {{"--tone=Floyd-Steinberg", "p.bmp"}, 0, 1, 0, 0, 0},
        {{"-tsierra", "-m1", "--palette", "best", "p.bmp"}, 0, 3, 1, 0, 0},
        {{"--tone", "jarvis-judice-ninke", "--sampling=area", "p.bmp"}, 0, 4, 0, 1, 0},
        {{"--fit", "fill", "-t", "spiral", "p.bmp"}, 3, 0, 0, 0, 2},
        // --photo's recipe, and options given outright winning over it wherever they stand.
        {{"--photo", "p.bmp"}, 0, 5, 1, 1, 1},
        {{"--fit", "stretch", "--photo", "p.bmp"}, 0, 5, 1, 1, 0},
        {{"--photo", "-t", "fine", "--palette=standard", "p.bmp"}, 1, 0, 0, 1, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::PrintToString(c.args));
        const ConversionChoices s = ChoicesOf(c.args);
        EXPECT_EQ(static_cast<int>(s.halftone), c.tone);
        EXPECT_EQ(static_cast<int>(s.diffusion), c.diffusion);
        EXPECT_EQ(static_cast<int>(s.palette), c.palette);
        EXPECT_EQ(static_cast<int>(s.sampling), c.sampling);
        EXPECT_EQ(static_cast<int>(s.fit), c.fit);
    }
    ConversionChoices photo;
    ApplyPhotoSettings(photo);
    EXPECT_EQ(ChoicesOf({"--photo", "p.bmp"}), photo);
}

TEST(PictureOptions, AdjustmentsAtTheirEndsAndOverPhoto) {
    struct Case {
        std::vector<std::string> args;
        PictureAdjustments wanted;
    };
    const Case cases[] = {
        {{"p.bmp"}, {}},
        {{"--brightness", "-100", "--contrast=100", "p.bmp"}, {-100, 100, 0, 1.0, false}},
        {{"--saturation", "-100", "--gamma", "0.25", "p.bmp"}, {0, 0, -100, 0.25, false}},
        {{"--gamma=4", "--auto-levels", "p.bmp"}, {0, 0, 0, 4.0, true}},
        {{"--brightness", "30", "--photo", "p.bmp"}, {30, 0, 0, 1.0, true}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::PrintToString(c.args));
        EXPECT_EQ(ChoicesOf(c.args).adjustments, c.wanted);
    }
}

TEST(PictureOptions, AListIsKeptInOrder) {
    const ConversionChoices s =
        ChoicesOf({"-m", "1", "--palette", "black,blue,cyan,white", "p.bmp"});
    EXPECT_EQ(s.palette, PaletteChoice::List);
    EXPECT_EQ(s.paletteList.physical, (std::vector<std::uint8_t>{0, 4, 6, 7}));
}

TEST(PictureOptions, BadValuesNameTheValidOnes) {
    struct Case {
        std::vector<std::string> args;
        std::string error;
    };
    const Case cases[] = {
        {{"--palette", "pastel", "p.bmp"},
         "invalid palette 'pastel' for --palette: use standard, best or a list of black, red, "
         "green, yellow, blue, magenta, cyan and white such as black,blue,cyan,white"},
        {{"--sampling=bilinear", "p.bmp"},
         "invalid sampling 'bilinear' for --sampling: use point or area"},
        {{"--fit", "zoom", "p.bmp"}, "invalid fit 'zoom' for --fit: use stretch, keep or fill"},
        {{"-m", "1", "--palette", "black,white", "p.bmp"},
         "MODE 1 shows 4 colours: the palette LIST has 2"},
        {{"--palette", "black,white", "-m", "2", "p.bmp"},
         "MODE 2 always shows all 8 colours: a palette LIST is for MODEs 0, 1, 4 and 5"},
        {{"--photo=yes", "p.bmp"}, "--photo takes no value"},
        {{"p.bmp", "--fit"}, "--fit needs a value"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ParseCommandLine(c.args).error, c.error) << ::testing::PrintToString(c.args);
    }
}

}  // namespace
