// The pipeline pinned: the bundled test card through ConvertPictureFile gives, for each set of
// choices, the screen bytes (as an FNV-1a checksum) and palette that this release has always
// written, and WriteScreenFiles puts exactly those bytes and the MODE's sidecar on disk.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "pipeline/Pipeline.h"
#include "tests/TempFolder.h"

namespace {

const std::string kTestCard = std::string(QUILLIX_SAMPLES_DIR) + "/testcard.bmp";

std::uint64_t Fnv1a(const std::vector<std::uint8_t>& bytes) {
    std::uint64_t hash = 0xcbf29ce484222325u;
    for (const std::uint8_t byte : bytes) hash = (hash ^ byte) * 0x100000001b3u;
    return hash;
}

ConversionChoices Choices(int mode, Halftone halftone, bool stagger, Diffusion diffusion,
                          PaletteChoice palette = PaletteChoice::Standard,
                          Sampling sampling = Sampling::Point, Fit fit = Fit::Stretch) {
    ConversionChoices choices;
    choices.screenMode = static_cast<ScreenMode>(mode);
    choices.halftone = halftone;
    choices.stagger = stagger;
    choices.diffusion = diffusion;
    choices.palette = palette;
    choices.sampling = sampling;
    choices.fit = fit;
    return choices;
}

TEST(Pipeline, TheTestCardConvertsAsItAlwaysHas) {
    using enum Halftone;
    using D = Diffusion;
    using P = PaletteChoice;
    struct Case {
        const char* name;
        ConversionChoices choices;
        std::uint64_t screen;
        std::vector<std::uint8_t> palette;  // empty: the MODE's own
    };
    ConversionChoices list = Choices(1, None, false, D::Off, P::List);
    list.paletteList = Palette{{0, 4, 6, 7}};
    const Case cases[] = {
        {"-m 0", Choices(0, None, false, D::Off), 0xbc13d1c0ddfd6b9e, {}},
        {"-m 1 -t fine", Choices(1, Fine, false, D::Off), 0xc8b2ee833686e44a, {}},
        {"-m 2 -t coarse -s", Choices(2, Coarse, true, D::Off), 0x9faffb0184fb2d77, {}},
        {"-m 4 -t spiral", Choices(4, Spiral, false, D::Off), 0x8fdf1d6948bb1a99, {}},
        {"-m 5 -t diagonal -s", Choices(5, Diagonal, true, D::Off), 0xf2aeb1d3a9d02e64, {}},
        {"-m 0 -t floyd-steinberg",
         Choices(0, None, false, D::FloydSteinberg),
         0x4621110a394aad3a,
         {}},
        {"-m 1 -t atkinson --palette best",
         Choices(1, None, false, D::Atkinson, P::Best),
         0xf5041448332c5ed9,
         {0, 1, 2, 7}},
        {"-m 2 -t sierra", Choices(2, None, false, D::Sierra), 0xcb5a25ba30afc9e5, {}},
        {"-m 4 -t jarvis-judice-ninke --sampling area",
         Choices(4, None, false, D::JarvisJudiceNinke, P::Standard, Sampling::Area),
         0xcf76318680cf38b6,
         {}},
        {"-m 5 -t fine --palette best",
         Choices(5, Fine, false, D::Off, P::Best),
         0xd3f8e9e495be77bc,
         {0, 1, 2, 7}},
        {"-m 1 --palette black,blue,cyan,white", list, 0xc729b9f2ffbca5ea, {0, 4, 6, 7}},
        {"-m 2 --fit keep --sampling area",
         Choices(2, None, false, D::Off, P::Standard, Sampling::Area, Fit::Keep),
         0x6a2d66c354938d88,
         {}},
        {"-m 1 --photo",
         Choices(1, None, false, D::Atkinson, P::Best, Sampling::Area, Fit::Keep),
         0xf45c0eacf217b05d,
         {0, 1, 4, 7}},
        {"-m 5 --photo --fit fill",
         Choices(5, None, false, D::Atkinson, P::Best, Sampling::Area, Fit::Fill),
         0xede3f04bd444d762,
         {0, 1, 5, 7}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const EncodedScreen screen = ConvertPictureFile(kTestCard, c.choices);
        EXPECT_EQ(Fnv1a(screen.bytes), c.screen);
        const int mode = ModeNumber(c.choices.screenMode);
        EXPECT_EQ(screen.palette.physical,
                  c.palette.empty() ? DefaultPalette(mode).physical : c.palette);
        EXPECT_EQ(screen.screenMode, c.choices.screenMode);
        EXPECT_EQ(screen.preview.Width(), 320);
        EXPECT_EQ(screen.preview.Height(), 256);
    }
}

TEST(Pipeline, WriteScreenFilesWritesTheBytesAndTheSidecar) {
    TempFolder folder;
    for (int mode : {1, 5}) {
        const EncodedScreen screen =
            ConvertPictureFile(kTestCard, Choices(mode, Halftone::Fine, false, Diffusion::Off));
        WriteScreenFiles(folder / "card.scr", screen);
        EXPECT_EQ(ReadFileBytes(folder / "card.scr"),
                  std::string(screen.bytes.begin(), screen.bytes.end()));
        EXPECT_EQ(ReadFileBytes(folder / "card.scr.inf"),
                  mode == 1 ? "$.SCREEN   003000 000000 005000\r\n"
                            : "$.SCREEN   005800 000000 002800\r\n");
    }
}

TEST(Pipeline, SamplesSplitIntoPlanesAsTheGridHoldsThem) {
    std::vector<std::int32_t> colours(320 * 256, 0x00804020);
    colours[5 + 7 * 320] = -1;  // just past the picture's edge: 255 in every plane
    const Samples samples(colours);
    EXPECT_EQ(samples.Planes().RedPlane(0, 0), 0x20);
    EXPECT_EQ(samples.Planes().GreenPlane(0, 0), 0x40);
    EXPECT_EQ(samples.Planes().BluePlane(0, 0), 0x80);
    EXPECT_EQ(samples.Planes().BluePlane(5, 7), 255);
    EXPECT_EQ(samples.Planes().RedPlane(320, 256), 0) << "the spare column and row stay 0";
    EXPECT_THROW(Samples(std::vector<std::int32_t>(10)), std::invalid_argument);
}

}  // namespace
