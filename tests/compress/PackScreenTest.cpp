// The packer against the model of the 6502 routine: every screen comes back byte for byte, and
// screens whose best packing is known pack that small.
#include <gtest/gtest.h>

#include "compress/PackScreen.h"
#include "compress/UnpackScreen.h"
#include "pipeline/Pipeline.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

void ExpectRoundTrip(const Bytes& screen, std::size_t mostBytes) {
    const Bytes packed = PackScreen(screen);
    EXPECT_LE(packed.size(), mostBytes);
    const auto unpacked = UnpackScreen(packed, screen.size());
    ASSERT_TRUE(unpacked);
    EXPECT_TRUE(unpacked->screen == screen);
}

Bytes Made(std::size_t size, std::uint8_t (*byte)(std::size_t)) {
    Bytes bytes(size);
    for (std::size_t i = 0; i < size; ++i) bytes[i] = byte(i);
    return bytes;
}

std::uint8_t Noise(std::size_t i) {
    return static_cast<std::uint8_t>((i * 2654435761u) >> 13 ^ (i * 40503u) >> 7);
}

TEST(PackScreen, AdversarialScreensComeBackAndPackAsSmallAsTheyCan) {
    const std::size_t big = 20480;
    // Literal runs cost a byte per 128: the most any screen can take.
    const std::size_t literals = big + big / 128;
    const struct {
        const char* name;
        Bytes screen;
        std::size_t mostBytes;
    } cases[] = {
        // A literal, a copy of 66 from offset 1, then 315 copies of up to 65 from the same offset.
        {"all zeros", Bytes(big), 2 + 2 + 315},
        {"all zeros, MODE 4's length", Bytes(10240), 2 + 2 + 158},
        {"one byte", Bytes{42}, 2},
        {"no three bytes twice",
         Made(big,
              [](std::size_t i) { return static_cast<std::uint8_t>(i % 2 ? i / 2 >> 8 : i / 2); }),
         literals},
        {"noise", Made(big, Noise), literals},
        {"noise repeated every 640 bytes, a character row",
         Made(big, [](std::size_t i) { return Noise(i % 640); }), 640 + 5 + 3 + 305},
        {"a run of 3 repeated", Made(big, [](std::size_t i) { return std::uint8_t(i % 3); }),
         4 + 2 + 315},
        {"noise with every other byte zero",
         Made(big, [](std::size_t i) { return std::uint8_t(i % 2 ? 0 : Noise(i)); }), literals},
    };
    for (const auto& test : cases) {
        SCOPED_TRACE(test.name);
        ExpectRoundTrip(test.screen, test.mostBytes);
    }
}

TEST(PackScreen, TheTestCardInEveryModeAndToneComesBack) {
    const std::string card = std::string(QUILLIX_SAMPLES_DIR) + "/testcard.bmp";
    for (const int mode : {0, 1, 2, 4, 5}) {
        for (int tone = 0; tone <= 9; ++tone) {
            ConversionChoices choices;
            choices.screenMode = static_cast<ScreenMode>(mode);
            choices.halftone = tone <= 4 ? static_cast<Halftone>(tone) : Halftone::None;
            choices.diffusion = tone <= 4 ? Diffusion::Off : static_cast<Diffusion>(tone - 4);
            SCOPED_TRACE("MODE " + std::to_string(mode) + ", tone " + std::to_string(tone));
            const Bytes screen = ConvertPictureFile(card, choices).bytes;
            // A picture always packs smaller than its screen.
            ExpectRoundTrip(screen, screen.size() - 1);
        }
    }
}

}  // namespace
