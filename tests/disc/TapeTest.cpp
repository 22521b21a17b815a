// Tape images read back by an independent reader (TapeReader.h).
#include <gtest/gtest.h>

#include "compress/UnpackRoutine.h"
#include "compress/UnpackScreen.h"
#include "disc/BasicProgram.h"
#include "disc/SlideshowTape.h"
#include "disc/UefTape.h"
#include "tests/disc/DiscTestSupport.h"
#include "tests/disc/TapeReader.h"

namespace {

TEST(UefTape, FilesComeBackBlockByBlockWithTheirCrcs) {
    std::vector<std::uint8_t> counting(600);
    for (std::size_t i = 0; i < counting.size(); ++i) counting[i] = static_cast<std::uint8_t>(i);
    const std::vector<TapeFile> files{{"TEN CHARS!", 0xFFFF1900, 0xFFFF8023, counting},
                                      {"A", 0x3000, 0x3000, std::vector<std::uint8_t>(256, 7)},
                                      {"EMPTY", 0, 0, {}}};
    const std::vector<ReadTapeFile> read = ReadUefFiles(MakeUefTape(files));
    ASSERT_EQ(read.size(), files.size());
    const std::vector<std::vector<int>> carriers{{12240, 2640, 2640}, {12240}, {12240}};
    for (std::size_t i = 0; i < files.size(); ++i) {
        SCOPED_TRACE(files[i].name);
        EXPECT_EQ(read[i].name, files[i].name);
        EXPECT_EQ(read[i].load, files[i].loadAddress);
        EXPECT_EQ(read[i].exec, files[i].execAddress);
        EXPECT_EQ(read[i].data, files[i].data);
        EXPECT_EQ(read[i].carriers, carriers[i]);  // 5.1 s, then 1.1 s, of 2400 Hz
    }
    EXPECT_THROW(MakeUefTape({{"ELEVEN CHAR", 0, 0, {1}}}), std::invalid_argument);
}

TEST(UefTape, TheCrcIsTheCassetteFilingSystems) {
    // CRC-16 with polynomial &1021 from 0 over "123456789" is &31C3.
    const std::string check = "123456789";
    EXPECT_EQ(TapeCrc(reinterpret_cast<const std::uint8_t*>(check.data()), check.size()), 0x31C3);
    EXPECT_EQ(DividedCrc(reinterpret_cast<const std::uint8_t*>(check.data()), check.size()),
              0x31C3);
}

TEST(SlideshowTape, LoaderThenRoutineThenPicturesEachUnpackingToItsScreen) {
    const std::vector<DiscPicture> pictures{PictureOf("chelsea", 1, 0x11), PictureOf("dock", 4, 0),
                                            NoisyPictureOf("noise", 2)};
    for (const bool compress : {false, true}) {
        SCOPED_TRACE(compress ? "compressed" : "as they are");
        const std::vector<ReadTapeFile> read = ReadUefFiles(MakeSlideshowTape(pictures, compress));
        ASSERT_EQ(read.size(), pictures.size() + (compress ? 2 : 1));
        EXPECT_EQ(read[0].name, "SLIDESHOW");
        const std::string text = "*OPT1,0";  // no tape messages over the pictures
        EXPECT_NE(std::search(read[0].data.begin(), read[0].data.end(), text.begin(), text.end()),
                  read[0].data.end());
        EXPECT_EQ((std::vector<std::uint8_t>(read[0].data.end() - 2, read[0].data.end())),
                  (std::vector<std::uint8_t>{0x0D, 0xFF}));
        std::size_t next = 1;
        if (compress) {
            EXPECT_EQ(read[1].name, "!UNPACK");
            EXPECT_EQ(read[1].load, 0xFFFF0900);
            EXPECT_EQ(read[1].data, UnpackRoutine());
            next = 2;
        }
        for (const DiscPicture& picture : pictures) {
            const ReadTapeFile& file = read[next++];
            SCOPED_TRACE(file.name);
            const std::uint32_t screen = picture.screenMode <= 2 ? 0xFFFF3000 : 0xFFFF5800;
            // Noise does not pack; the rest unpack to their screens from just below.
            if (!compress || picture.stem == "noise") {
                EXPECT_EQ(file.load, screen);
                EXPECT_EQ(file.data, picture.screen);
                continue;
            }
            const auto unpacked = UnpackScreen(file.data, picture.screen.size());
            ASSERT_TRUE(unpacked);
            EXPECT_EQ(unpacked->screen, picture.screen);
            EXPECT_EQ(file.load, screen - unpacked->slack);
        }
    }
}

}  // namespace
