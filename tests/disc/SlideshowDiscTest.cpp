#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>

#include "disc/DfsCatalogue.h"
#include "disc/DfsImage.h"
#include "platform/files/AtomicFile.h"
#include "tests/TempFolder.h"
#include "tests/disc/DiscTestSupport.h"

namespace {

struct FitCase {
    int screenMode;
    int tracks;
    // 80 or 40 sectors each, beside !BOOT (2 sectors), of 798 or 398 free sectors; MODE 7
    // pages 1000 bytes each in one file: 796 sectors hold 203 of them, 396 sectors 101.
    int pictures;
};

std::vector<DiscPicture> Pictures(int count, int screenMode) {
    return std::vector<DiscPicture>(count, PictureOf("photo", screenMode, 0x55));
}

TEST(SlideshowDisc, AsManyPicturesAsFitAndOneMoreIsRefused) {
    const std::vector<FitCase> cases{{0, 80, 9}, {1, 40, 4}, {2, 80, 9},   {4, 80, 19},
                                     {5, 40, 9}, {4, 40, 9}, {7, 80, 203}, {7, 40, 101}};
    for (const FitCase& test : cases) {
        SCOPED_TRACE("MODE " + std::to_string(test.screenMode) + ", " +
                     std::to_string(test.tracks) + " tracks");
        EXPECT_EQ(PicturesThatFit(test.screenMode, test.tracks), test.pictures);
        EXPECT_NO_THROW(
            MakeSlideshowDisc("T", Pictures(test.pictures, test.screenMode), test.tracks));
        try {
            MakeSlideshowDisc("T", Pictures(test.pictures + 1, test.screenMode), test.tracks);
            ADD_FAILURE() << "a disc with one picture too many was made";
        } catch (const DiscSpaceError& error) {
            const std::string wanted = "holds " + std::to_string(test.pictures) +
                                       " pictures in MODE " + std::to_string(test.screenMode);
            EXPECT_NE(std::string(error.what()).find(wanted), std::string::npos) << error.what();
        }
    }
}

TEST(SlideshowDisc, MixedModesNameTheModeThatOverflows) {
    std::vector<DiscPicture> pictures = Pictures(9, 4);  // 360 of 398 sectors
    pictures.push_back(PictureOf("big", 2, 0));
    try {
        MakeSlideshowDisc("T", pictures, 40);
        ADD_FAILURE() << "an overfull disc was made";
    } catch (const DiscSpaceError& error) {
        EXPECT_NE(std::string(error.what()).find("a 40-track disc holds 4 pictures in MODE 2"),
                  std::string::npos)
            << error.what();
    }
}

std::vector<std::uint8_t> Contents(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

TEST(SlideshowDisc, WrittenWholeTitledAfterTheFileOrNotAtAll) {
    TempFolder folder;
    const std::string path = folder / "Summer.ssd";
    WriteSlideshowDisc(path, Pictures(2, 5), 40);
    const std::vector<std::uint8_t> written = Contents(path);
    const auto image = MakeSlideshowDisc("Summer", Pictures(2, 5), 40);
    EXPECT_EQ(written, image);

    try {
        WriteSlideshowDisc(path, Pictures(5, 2), 40);
        ADD_FAILURE() << "a full disc was written";
    } catch (const FileError& error) {
        EXPECT_EQ(error.Path(), path);
        EXPECT_NE(error.Reason().find("4 pictures in MODE 2"), std::string::npos);
    }
    EXPECT_EQ(Contents(path), written);
    const std::string fresh = folder / "fresh.ssd";
    EXPECT_THROW(WriteSlideshowDisc(fresh, Pictures(20, 4), 80), FileError);
    EXPECT_FALSE(std::filesystem::exists(fresh));
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder.Path()), {}), 1);
}

}  // namespace
