#include "disc/DiscCapacity.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "disc/DfsCatalogue.h"
#include "disc/DfsImage.h"
#include "disc/ScreenOnDisc.h"
#include "tests/disc/DiscTestSupport.h"

namespace {

// The sectors a made disc really uses: the catalogue and up to the end of its highest file.
int SectorsOnDisc(const std::vector<DiscPicture>& pictures, int tracks) {
    const std::vector<std::uint8_t> image = MakeSlideshowDisc("T", pictures, tracks);
    const DfsCatalogue catalogue = DecodeCatalogue(image.data(), image.size());
    int end = kDfsCatalogueSectors;
    for (const DfsEntry& entry : catalogue.entries)
        end = std::max(end, entry.startSector + SectorsFor(entry.length));
    return end;
}

TEST(DiscCapacity, CountsWhatTheDiscUsesAndWhatStillFits) {
    struct Case {
        const char* name;
        std::vector<DiscPicture> pictures;
        int screenMode;
        int tracks;
        int more;  // from the pictures per disc that the README lists, less those on it
    };
    const std::vector<Case> cases{
        {"empty, MODE 2, 80 tracks", {}, 2, 80, 9},
        {"empty, MODE 4, 40 tracks", {}, 4, 40, 9},
        {"two MODE 1, then MODE 2", {PictureOf("a", 1, 1), PictureOf("b", 1, 2)}, 2, 80, 7},
        {"one MODE 5, then MODE 5 on 40", {PictureOf("a", 5, 3)}, 5, 40, 8},
        {"a MODE 2, then MODE 4", {PictureOf("a", 2, 1)}, 4, 80, 17},
        {"four MODE 0 fill 40 tracks", std::vector<DiscPicture>(4, PictureOf("x", 0, 9)), 0, 40, 0},
    };
    for (const Case& test : cases) {
        SCOPED_TRACE(test.name);
        if (!test.pictures.empty()) {
            EXPECT_EQ(SlideshowSectors(test.pictures), SectorsOnDisc(test.pictures, test.tracks));
        }
        EXPECT_EQ(MorePicturesThatFit(test.pictures, test.screenMode, test.tracks), test.more);
    }
    // Too many to fit already: no more, rather than a negative count.
    EXPECT_EQ(MorePicturesThatFit(std::vector<DiscPicture>(5, PictureOf("x", 0, 9)), 0, 40), 0);
}

TEST(DiscCapacity, CountsPackedScreensAsTheDiscHoldsThem) {
    struct Case {
        const char* name;
        std::vector<DiscPicture> pictures;
        int screenMode;
        int tracks;
    };
    std::vector<DiscPicture> mixed{PictureOf("flat", 1, 0x0F), NoisyPictureOf("noise", 5),
                                   PictureOf("page", 7, 0x20), PictureOf("dock", 4, 0x33)};
    mixed[0].screen[100] = 1;
    const std::vector<Case> cases{
        {"one packed MODE 1, then MODE 2", {PictureOf("a", 1, 0x0F)}, 2, 80},
        {"packed, as it is and a page, then MODE 4 on 40", mixed, 4, 40},
        {"a page, then MODE 7", {PictureOf("p", 7, 0x41)}, 7, 40},
        {"25 packed: the catalogue, not the sectors, is full first",
         std::vector<DiscPicture>(25, PictureOf("x", 1, 0x55)), 1, 80},
        {"noise fills 40 tracks", std::vector<DiscPicture>(4, NoisyPictureOf("n", 2)), 2, 40},
    };
    for (const Case& test : cases) {
        SCOPED_TRACE(test.name);
        std::vector<ScreenFileSpace> files;
        for (const DiscPicture& picture : test.pictures) {
            const ScreenOnDisc file = ScreenFileFor(picture.screen, picture.screenMode, true);
            files.push_back({SectorsFor(file.data.size()), file.packedEnd});
        }
        const DiscFormat packed{test.tracks, false, true};
        EXPECT_EQ(SlideshowSectors(test.pictures, files),
                  kDfsCatalogueSectors +
                      MakeSlideshowImage("T", test.pictures, packed).summary.sectorsUsed);
        // The pictures to come are noise, which stays as it is: exactly that many more fit.
        const int more = MorePicturesThatFit(test.pictures, files, test.screenMode, test.tracks);
        std::vector<DiscPicture> fuller = test.pictures;
        for (int i = 0; i < more; ++i) fuller.push_back(NoisyPictureOf("m", test.screenMode));
        EXPECT_NO_THROW(MakeSlideshowImage("T", fuller, packed)) << more << " more";
        fuller.push_back(NoisyPictureOf("m", test.screenMode));
        EXPECT_THROW(MakeSlideshowImage("T", fuller, packed), DiscSpaceError) << more << " more";
    }
    EXPECT_THROW(SlideshowSectors(mixed, {}), std::invalid_argument);
}

}  // namespace
