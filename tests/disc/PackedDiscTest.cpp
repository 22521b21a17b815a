// Double-sided and packed slideshow discs, read back side by side.
#include <gtest/gtest.h>

#include <algorithm>

#include "compress/PackScreen.h"
#include "compress/UnpackRoutine.h"
#include "compress/UnpackScreen.h"
#include "disc/DfsCatalogue.h"
#include "disc/DfsImage.h"
#include "disc/ScreenOnDisc.h"
#include "disc/SlideshowTape.h"
#include "tests/disc/DiscTestSupport.h"
#include "tests/disc/TapeReader.h"

namespace {

std::vector<DiscPicture> Pictures(int count, int screenMode) {
    std::vector<DiscPicture> pictures;
    for (int i = 0; i < count; ++i) {
        pictures.push_back(PictureOf("p", screenMode, static_cast<std::uint8_t>(i)));
    }
    return pictures;
}

std::string BootText(const std::vector<std::uint8_t>& side, const DfsEntry& boot) {
    const auto start = side.begin() + boot.startSector * 256;
    return {start, start + boot.length};
}

std::vector<std::uint8_t> FileOf(const std::vector<std::uint8_t>& side, const DfsEntry& entry) {
    const auto start = side.begin() + entry.startSector * 256;
    return {start, start + entry.length};
}

TEST(DoubleSidedDisc, HoldsTwiceASingleSidedDiscAndBootsTheSecondSideFromDrive2) {
    const struct {
        int screenMode, tracks, single;
    } cases[] = {{1, 80, 9}, {4, 80, 19}, {2, 40, 4}};
    for (const auto& test : cases) {
        SCOPED_TRACE("MODE " + std::to_string(test.screenMode));
        const std::vector<DiscPicture> pictures = Pictures(2 * test.single, test.screenMode);
        const auto made = MakeSlideshowImage("Two sides", pictures, {test.tracks, true, false});
        ASSERT_EQ(made.image.size(), 2u * test.tracks * 2560);
        EXPECT_EQ(made.summary.sectorsFree, 2 * FileSectors(test.tracks));

        const auto side0 = SideOf(made.image, 0);
        const auto side1 = SideOf(made.image, 1);
        const DfsCatalogue first = DecodeCatalogue(side0.data(), side0.size());
        const DfsCatalogue second = DecodeCatalogue(side1.data(), side1.size());
        EXPECT_EQ(first.bootOption, DfsBootOption::Exec);
        EXPECT_EQ(second.bootOption, DfsBootOption::None);
        EXPECT_EQ(first.sectorCount, test.tracks * 10);
        EXPECT_EQ(second.sectorCount, test.tracks * 10);
        ASSERT_EQ(first.entries.size(), test.single + 1u);
        ASSERT_EQ(second.entries.size(), test.single + 0u);
        // The second side's pictures follow the first's, in order, and load from drive 2.
        const std::string boot = BootText(side0, first.entries.back());
        for (int i = 0; i < 2 * test.single; ++i) {
            const bool later = i >= test.single;
            const DfsCatalogue& catalogue = later ? second : first;
            const auto& side = later ? side1 : side0;
            const DfsEntry& entry =
                catalogue.entries[catalogue.entries.size() - (later ? 1 : 2) - (i % test.single)];
            SCOPED_TRACE(entry.name);
            EXPECT_TRUE(std::all_of(side.begin() + entry.startSector * 256,
                                    side.begin() + entry.startSector * 256 + entry.length,
                                    [&](std::uint8_t b) { return b == i; }));
            const std::string load = std::string(later ? "*LOAD :2." : "*LOAD ") + entry.name + " ";
            EXPECT_NE(boot.find(load), std::string::npos) << load;
        }
        EXPECT_THROW(MakeSlideshowImage("T", Pictures(2 * test.single + 1, test.screenMode),
                                        {test.tracks, true, false}),
                     DiscSpaceError);
    }
    EXPECT_TRUE(IsDoubleSidedName("a/b.DSD"));
    EXPECT_FALSE(IsDoubleSidedName("b.dsd.ssd"));
}

TEST(PackedDisc, EachScreenUnpacksFromJustBelowItsScreenAndCountsItsPackedSectors) {
    std::vector<DiscPicture> pictures{PictureOf("flat", 1, 0x0F), NoisyPictureOf("noise", 5),
                                      PictureOf("dock", 4, 0x33)};
    pictures[0].screen[100] = 1;  // not quite flat
    const auto made = MakeSlideshowImage("Packed", pictures, {80, false, true});
    const DfsCatalogue catalogue = DecodeCatalogue(made.image.data(), made.image.size());
    // DFS lists the last file first: DOCK, NOISE, FLAT, !UNPACK, !BOOT.
    ASSERT_EQ(catalogue.entries.size(), 5u);
    const DfsEntry& routine = catalogue.entries[3];
    EXPECT_EQ(routine.name, "!UNPACK");
    EXPECT_EQ(routine.loadAddress, 0xFFFF0900);
    EXPECT_EQ(FileOf(made.image, routine), UnpackRoutine());
    const std::string boot = BootText(made.image, catalogue.entries[4]);
    EXPECT_NE(boot.find("*LOAD !UNPACK\r"), std::string::npos);

    int sectors = SectorsFor(boot.size()) + SectorsFor(routine.length);
    for (std::size_t i = 0; i < pictures.size(); ++i) {
        const DiscPicture& picture = pictures[i];
        const DfsEntry& entry = catalogue.entries[2 - i];
        SCOPED_TRACE(entry.name);
        sectors += SectorsFor(entry.length);
        EXPECT_EQ(SectorsFor(entry.length),
                  ScreenSectors(picture.screen, picture.screenMode, true));
        const std::vector<std::uint8_t> file = FileOf(made.image, entry);
        const std::uint32_t screen = picture.screenMode <= 2 ? 0xFFFF3000 : 0xFFFF5800;
        if (picture.stem == "noise") {  // as it is: packing would not make it smaller
            EXPECT_EQ(file, picture.screen);
            EXPECT_EQ(entry.loadAddress, screen);
            continue;
        }
        const auto unpacked = UnpackScreen(file, picture.screen.size());
        ASSERT_TRUE(unpacked);
        EXPECT_EQ(unpacked->screen, picture.screen);
        EXPECT_EQ(entry.loadAddress, screen - unpacked->slack);
        EXPECT_LT(entry.length, 1000u);
    }
    EXPECT_EQ(made.summary.sectorsUsed, sectors);
    EXPECT_EQ(made.summary.packedPictures, 2);
}

TEST(PackedDisc, FullDiscsCountPackedSectorsAndCatalogueEntries) {
    // 29 packed pictures fill the catalogue beside !BOOT and !UNPACK; 9 fit as they are.
    EXPECT_NO_THROW(MakeSlideshowImage("T", Pictures(29, 1), {80, false, true}));
    try {
        MakeSlideshowImage("T", Pictures(30, 1), {80, false, true});
        ADD_FAILURE() << "a disc with 32 files was made";
    } catch (const DiscSpaceError& error) {
        EXPECT_NE(std::string(error.what()).find("an 80-track disc holds the first 29 of them"),
                  std::string::npos)
            << error.what();
    }
    std::vector<DiscPicture> noisy;
    for (int i = 0; i < 10; ++i) noisy.push_back(NoisyPictureOf("n", 1));
    EXPECT_THROW(MakeSlideshowImage("T", noisy, {80, false, true}), DiscSpaceError);
}

TEST(PackedDisc, ASmallSavingIsLeftAsItIsOnADiscButNotOnATape) {
    // Three sectors saved of 40 save less reading than unpacking costs; any block saved is worth
    // a 1200 baud tape's while.
    DiscPicture picture = NoisyPictureOf("mostly", 5);
    std::fill(picture.screen.end() - 1100, picture.screen.end(), 0);
    EXPECT_FALSE(ScreenFileFor(picture.screen, 5, true).packed);
    const ScreenOnDisc onTape = ScreenFileFor(picture.screen, 5, true, LoaderMedium::Tape);
    EXPECT_TRUE(onTape.packed);
    EXPECT_EQ(SectorsFor(onTape.data.size()), 37);
}

TEST(PackedDisc, APackingThatDoesNotUnpackToTheScreenIsRefused) {
    const DiscPicture picture = PictureOf("flat", 2, 0x55);
    std::vector<std::uint8_t> packed = PackScreen(picture.screen);
    EXPECT_TRUE(CheckedPackedFile(picture.screen, 2, packed).packed);
    packed[packed.size() - 2] ^= 1;  // the first literal byte
    EXPECT_THROW(CheckedPackedFile(picture.screen, 2, packed), PackingError);
    packed.pop_back();
    EXPECT_THROW(CheckedPackedFile(picture.screen, 2, packed), PackingError);
}

}  // namespace

namespace {

// MODE 7 pages keep to their pages file on the first side, beside packed screens and on two
// sides, and on a tape come as files of their own loaded into teletext memory.
TEST(TeletextSlides, GoInThePagesFileOnEveryDiscAndAsFilesOnATape) {
    const std::vector<DiscPicture> pictures{PictureOf("page", 7, 0x41), PictureOf("flat", 2, 0),
                                            PictureOf("page", 7, 0x42)};
    const struct {
        bool doubleSided, compress;
    } discs[] = {{false, true}, {true, false}, {true, true}};
    for (const auto& disc : discs) {
        SCOPED_TRACE(std::to_string(disc.doubleSided) + std::to_string(disc.compress));
        const auto made =
            MakeSlideshowImage("Mixed", pictures, {80, disc.doubleSided, disc.compress});
        const auto side0 = disc.doubleSided ? SideOf(made.image, 0) : made.image;
        const DfsCatalogue first = DecodeCatalogue(side0.data(), side0.size());
        const auto pages =
            std::find_if(first.entries.begin(), first.entries.end(),
                         [](const DfsEntry& entry) { return entry.name == "!PAGES"; });
        ASSERT_NE(pages, first.entries.end());
        std::vector<std::uint8_t> wanted(1000, 0x41);
        wanted.insert(wanted.end(), 1000, 0x42);
        EXPECT_EQ(FileOf(side0, *pages), wanted);
        const auto boot = std::find_if(first.entries.begin(), first.entries.end(),
                                       [](const DfsEntry& entry) { return entry.name == "!BOOT"; });
        ASSERT_NE(boot, first.entries.end());
        const std::string script = BootText(side0, *boot);
        EXPECT_NE(script.find("FORP%=0TO0:PROCpage"), std::string::npos) << script;
        EXPECT_NE(script.find("FORP%=1TO1:PROCpage"), std::string::npos) << script;
        EXPECT_EQ(made.summary.pictures, 3);
    }

    const std::vector<ReadTapeFile> tape = ReadUefFiles(MakeSlideshowTape(pictures, true));
    ASSERT_GE(tape.size(), 4u);
    const ReadTapeFile& page = tape[tape.size() - 1];
    EXPECT_EQ(page.load, 0xFFFF7C00u);
    EXPECT_EQ(page.data, std::vector<std::uint8_t>(1000, 0x42)) << "a page is never packed";
}

}  // namespace
