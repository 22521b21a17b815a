#include <gtest/gtest.h>

#include <algorithm>

#include "disc/DfsCatalogue.h"
#include "disc/DfsImage.h"
#include "tests/disc/DiscTestSupport.h"

namespace {

struct DiscCase {
    const char* name;
    int tracks;
    std::vector<DiscPicture> pictures;
    std::vector<std::string> wantedNames;  // in catalogue order: the last file first
};

TEST(DfsCatalogue, SlideshowDiscsReadBackAsLaidOut) {
    const std::vector<DiscCase> cases{
        {"one MODE 2 picture, 80 tracks",
         80,
         {PictureOf("chelsea", 2, 0x11)},
         {"CHELSEA", "!BOOT"}},
        {"one MODE 4 picture, 40 tracks", 40, {PictureOf("coffee", 4, 0x22)}, {"COFFEE", "!BOOT"}},
        {"four MODEs, 80 tracks",
         80,
         {PictureOf("a", 0, 1), PictureOf("b", 1, 2), PictureOf("c", 5, 3), PictureOf("d", 2, 4)},
         {"D", "C", "B", "A", "!BOOT"}},
        {"four MODE 2 pictures fill 40 tracks",
         40,
         {PictureOf("x", 2, 5), PictureOf("x", 2, 6), PictureOf("x", 2, 7), PictureOf("x", 2, 8)},
         {"X3", "X2", "X1", "X", "!BOOT"}},
    };
    for (const DiscCase& test : cases) {
        SCOPED_TRACE(test.name);
        const std::vector<std::uint8_t> image =
            MakeSlideshowDisc("Holiday 2024", test.pictures, test.tracks);
        ASSERT_EQ(image.size(), test.tracks * 2560u);
        // Raw bytes, independent of the reader: boot option 3 in bits 4-5 of &106, then the
        // sector count (&190 or &320) over &106 bits 0-1 and &107.
        EXPECT_EQ(image[0x106], test.tracks == 80 ? 0x33 : 0x31);
        EXPECT_EQ(image[0x107], test.tracks == 80 ? 0x20 : 0x90);
        EXPECT_EQ(image[0x105], test.wantedNames.size() * 8);

        const DfsCatalogue catalogue = DecodeCatalogue(image.data(), image.size());
        EXPECT_EQ(catalogue.title, "Holiday 2024");
        EXPECT_EQ(catalogue.bootOption, DfsBootOption::Exec);
        EXPECT_EQ(catalogue.sectorCount, test.tracks * 10);
        ASSERT_EQ(catalogue.entries.size(), test.wantedNames.size());

        const DfsEntry& boot = catalogue.entries.back();
        EXPECT_EQ(boot.name, "!BOOT");
        EXPECT_EQ(boot.startSector, 2);
        int next = boot.startSector + SectorsFor(boot.length);
        for (std::size_t i = 0; i < test.pictures.size(); ++i) {
            const DiscPicture& picture = test.pictures[i];
            const DfsEntry& entry = catalogue.entries[catalogue.entries.size() - 2 - i];
            SCOPED_TRACE(entry.name);
            EXPECT_EQ(entry.name, test.wantedNames[test.wantedNames.size() - 2 - i]);
            EXPECT_EQ(entry.directory, '$');
            EXPECT_FALSE(entry.locked);
            const std::uint32_t address = picture.screenMode <= 2 ? 0xFFFF3000 : 0xFFFF5800;
            EXPECT_EQ(entry.loadAddress, address);
            EXPECT_EQ(entry.execAddress, address);
            EXPECT_EQ(entry.length, picture.screen.size());
            EXPECT_EQ(entry.startSector, next);
            next += SectorsFor(entry.length);
            const auto data = image.begin() + entry.startSector * 256;
            EXPECT_TRUE(std::equal(picture.screen.begin(), picture.screen.end(), data));
        }
        EXPECT_LE(next, test.tracks * 10);
    }
}

TEST(DfsCatalogue, EveryFieldSurvivesTheRoundTrip) {
    DfsCatalogue catalogue{"TWELVE CHARS", 42, DfsBootOption::Run, 800, {}};
    catalogue.entries.push_back({"LONGEST", 'Q', true, 0x12345, 0x2FEDC, 0x3ABCD, 0x3FF});
    catalogue.entries.push_back({"A", '$', false, 0xFFFF1900, 0xFFFF8023, 0, 2});
    const std::vector<std::uint8_t> sectors = EncodeCatalogue(catalogue);
    ASSERT_EQ(sectors.size(), 512u);
    EXPECT_EQ(sectors[0x104], 0x42);  // the cycle in BCD
    EXPECT_EQ(sectors[0x0F], 'Q' | 0x80);
    // Exec, length, load and start sector high bits: 10 11 01 11.
    EXPECT_EQ(sectors[0x10E], 0xB7);

    const DfsCatalogue back = DecodeCatalogue(sectors.data(), sectors.size());
    EXPECT_EQ(back.title, catalogue.title);
    EXPECT_EQ(back.cycle, 42);
    EXPECT_EQ(back.bootOption, DfsBootOption::Run);
    EXPECT_EQ(back.sectorCount, 800);
    ASSERT_EQ(back.entries.size(), 2u);
    for (std::size_t i = 0; i < 2; ++i) {
        const DfsEntry& want = catalogue.entries[i];
        const DfsEntry& got = back.entries[i];
        EXPECT_EQ(got.name, want.name);
        EXPECT_EQ(got.directory, want.directory);
        EXPECT_EQ(got.locked, want.locked);
        EXPECT_EQ(got.loadAddress, want.loadAddress);
        EXPECT_EQ(got.execAddress, want.execAddress);
        EXPECT_EQ(got.length, want.length);
        EXPECT_EQ(got.startSector, want.startSector);
    }
}

TEST(DfsCatalogue, ThirtyOneFilesFitAndAThirtySecondIsRefused) {
    std::vector<DfsFile> files;
    for (int i = 0; i < 31; ++i) {
        std::string name = std::to_string(i);  // appended, which GCC 12 does not misread
        files.push_back({name.append("F"), 0, 0, {1, 2, 3}});
    }
    const auto image = MakeDfsImage("FULL", DfsBootOption::None, 40, files);
    EXPECT_EQ(DecodeCatalogue(image.data(), image.size()).entries.size(), 31u);

    files.push_back({"31F", 0, 0, {1}});
    EXPECT_THROW(MakeDfsImage("FULL", DfsBootOption::None, 40, files), DiscSpaceError);
}

TEST(DfsCatalogue, FilesBeyondTheLastSectorAreRefused) {
    // 398 free sectors on 40 tracks: 398 one-sector files would fit were it not for the
    // catalogue, so use large files: two of 199 sectors fit, one byte more does not.
    const std::vector<DfsFile> exact{{"A", 0, 0, std::vector<std::uint8_t>(199 * 256)},
                                     {"B", 0, 0, std::vector<std::uint8_t>(199 * 256)}};
    EXPECT_NO_THROW(MakeDfsImage("T", DfsBootOption::None, 40, exact));
    std::vector<DfsFile> over = exact;
    over[1].data.push_back(0);
    EXPECT_THROW(MakeDfsImage("T", DfsBootOption::None, 40, over), DiscSpaceError);
}

}  // namespace
