// quillix-convert's --disc, --tracks, --display and --show, checked by running the built program.
#include <gtest/gtest.h>

#include <QImage>
#include <filesystem>

#include "disc/DfsCatalogue.h"
#include "tests/TempFolder.h"
#include "tests/cli/RunProgram.h"

namespace {

namespace fs = std::filesystem;

const std::string kTestCard = std::string(QUILLIX_SAMPLES_DIR) + "/testcard.bmp";

class DiscOptionsTest : public ::testing::Test {
protected:
    ProgramResult Run(const std::vector<std::string>& args) {
        const std::string c = drive.Path().string();
        return RunProgram(QUILLIX_CONVERT, args, {{"QUILLIX_DRIVE_C", c}, {"HOME", c}});
    }
    std::string Picture(const std::string& name) {
        fs::copy_file(kTestCard, folder / name);
        return folder / name;
    }
    DfsCatalogue Catalogue(const std::string& disc) {
        const std::string image = ReadFileBytes(disc);
        return DecodeCatalogue(reinterpret_cast<const std::uint8_t*>(image.data()), image.size());
    }

    TempFolder folder;
    TempFolder drive;
};

TEST_F(DiscOptionsTest, ASlideshowDiscIsTheOnlyOutputWithoutOOrD) {
    const std::string chelsea = Picture("chelsea.bmp");
    const std::string coffee = Picture("coffee.bmp");
    const std::string disc = folder / "Summer.ssd";
    const ProgramResult r = Run({"-m", "5", "--tracks", "40", "--disc", disc, chelsea, coffee});
    EXPECT_EQ(r.exitCode, 0) << r.err;
    EXPECT_NE(r.out.find(disc + ": a bootable 40-track disc of 2 pictures"), std::string::npos)
        << r.out;
    EXPECT_TRUE(fs::is_empty(drive.Path())) << "no c:\\$.screen beside the disc";

    const DfsCatalogue catalogue = Catalogue(disc);
    EXPECT_EQ(catalogue.title, "Summer");
    EXPECT_EQ(catalogue.sectorCount, 400);
    ASSERT_EQ(catalogue.entries.size(), 3u);
    EXPECT_EQ(catalogue.entries[0].name, "COFFEE");
    EXPECT_EQ(catalogue.entries[1].name, "CHELSEA");
    EXPECT_EQ(catalogue.entries[1].loadAddress, 0xFFFF5800u);

    // The same pictures with -d: each screen file too, and the disc holds their bytes.
    const ProgramResult withFiles = Run({"-q", "-m", "5", "-d", folder.Path().string(), "--disc",
                                         folder / "again.ssd", chelsea, coffee});
    EXPECT_EQ(withFiles.exitCode, 0) << withFiles.err;
    const std::string image = ReadFileBytes(folder / "again.ssd");
    const std::string screen = ReadFileBytes(folder / "chelsea.screen");
    EXPECT_EQ(image.substr(catalogue.entries[1].startSector * 256, screen.size()), screen);
}

TEST_F(DiscOptionsTest, AFullDiscIsRefusedAndNothingWritten) {
    const std::string picture = Picture("p.bmp");
    const std::string disc = folder / "full.ssd";
    const ProgramResult r =
        Run({"--tracks", "40", "--disc", disc, picture, picture, picture, picture, picture});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_NE(r.err.find("quillix-convert: " + disc + ": "), std::string::npos) << r.err;
    EXPECT_NE(r.err.find("a 40-track disc holds 4 pictures in MODE 2"), std::string::npos) << r.err;
    EXPECT_FALSE(fs::exists(disc));
}

TEST_F(DiscOptionsTest, UsageMistakesExitWithTwoAndWriteNothing) {
    const std::string picture = Picture("p.bmp");
    const std::string disc = folder / "d.ssd";
    const std::vector<std::vector<std::string>> cases{
        {"--disc", disc, "--tracks", "41", picture},
        {"--tracks", "40", picture},
        {"--show", picture},
        {"--show", "-t", "fine", "--disc", disc, picture},
        {"--show", "-o", folder / "x.screen", "--display", folder / "x.png", picture},
        {"--display", folder / "x.png", "--disc", disc, picture, picture},
        {"--disc", picture, picture},
        {"--compress", picture},
        {"--disc", disc, "--tape", disc, picture},
        {"--tape", picture, picture},
    };
    for (const auto& args : cases) {
        SCOPED_TRACE(args[0] + " " + args[1]);
        const ProgramResult r = Run(args);
        EXPECT_EQ(r.exitCode, 2) << r.err;
        EXPECT_NE(r.err.find("Usage:"), std::string::npos);
        EXPECT_FALSE(fs::exists(disc));
        EXPECT_FALSE(fs::exists(folder / "x.png"));
        EXPECT_TRUE(fs::is_empty(drive.Path()));
    }
}

TEST_F(DiscOptionsTest, ACompressedDoubleSidedDiscAndATapeFromOneRun) {
    const std::string picture = Picture("chelsea.bmp");
    const std::string disc = folder / "Both.DSD";
    const std::string tape = folder / "Both.uef";
    const ProgramResult r = Run({"-m", "1", "--compress", "--disc", disc, "--tape", tape, picture});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    // The loader, the routine and the packed screen, far below its 80 sectors.
    const std::string told =
        disc + ": a bootable double-sided 80-track disc of 1 picture, compressed, ";
    const auto at = r.out.find(told);
    ASSERT_NE(at, std::string::npos) << r.out;
    EXPECT_LT(std::stoi(r.out.substr(at + told.size())), 40);
    EXPECT_NE(r.out.find(" of 1596 sectors used (SHIFT+BREAK to start)"), std::string::npos);
    EXPECT_NE(r.out.find(tape + ": a tape of 1 picture, compressed (CHAIN\"\" to start)"),
              std::string::npos);
    EXPECT_EQ(ReadFileBytes(disc).size(), 2u * 80 * 2560);
    EXPECT_EQ(Catalogue(disc).entries.at(1).name, "!UNPACK");
}

TEST_F(DiscOptionsTest, DisplayOfAScreenFileShowsEveryMode0Pixel) {
    // Alternating pixels: every byte 0xAA, so the 640 columns go white, black, white, ...
    const std::string screen = folder / "stripes.screen";
    WriteFileBytes(screen, std::string(20480, '\xAA'));
    const std::string png = folder / "stripes.png";
    ProgramResult r = Run({"--show", "-m", "0", screen, "--display", png});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    const QImage shown(QString::fromStdString(png));
    ASSERT_EQ(shown.size(), QSize(640, 512));
    for (int y : {0, 1, 255, 511}) {
        for (int x : {0, 1, 2, 3, 638, 639}) {
            EXPECT_EQ(shown.pixel(x, y) & 0xFFFFFF, x % 2 == 0 ? 0xFFFFFFu : 0u) << x << "," << y;
        }
    }

    r = Run({"--show", "-m", "4", screen, "--display", folder / "wrong.png"});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_NE(r.err.find(screen + ": not a MODE 4 screen: 20480 bytes"), std::string::npos)
        << r.err;
    EXPECT_FALSE(fs::exists(folder / "wrong.png"));
}

TEST_F(DiscOptionsTest, DisplayWhileConvertingMatchesTheScreenFileRendered) {
    const std::string picture = Picture("card.bmp");
    ProgramResult r = Run({"-q", "-m", "1", "-o", folder / "card.screen", "--display",
                           folder / "direct.png", picture});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    r = Run({"-q", "--show", "-m", "1", folder / "card.screen", "--display", folder / "later.png"});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(ReadFileBytes(folder / "direct.png"), ReadFileBytes(folder / "later.png"));
    EXPECT_EQ(QImage(QString::fromStdString(folder / "direct.png")).size(), QSize(640, 512));
}

TEST_F(DiscOptionsTest, ShowTakesAPaletteListForTheScreensLogicalColours) {
    // Every MODE 1 pixel of 0x0F bytes is logical colour 1: red by default, here blue.
    const std::string screen = folder / "ones.screen";
    WriteFileBytes(screen, std::string(20480, '\x0F'));
    const std::string png = folder / "ones.png";
    const std::string disc = folder / "ones.ssd";
    const ProgramResult r = Run({"--show", "-m", "1", "--palette", "black,blue,cyan,white", screen,
                                 "--display", png, "--disc", disc});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_NE(r.out.find("\nVDU 19,1,4;0;19,2,6;0;\n"), std::string::npos) << r.out;
    EXPECT_EQ(QImage(QString::fromStdString(png)).pixel(320, 256) & 0xFFFFFF, 0x0000FFu);
    EXPECT_NE(ReadFileBytes(disc).find("MODE1:VDU23,1,0;0;0;0;:VDU19,1,4;0;:VDU19,2,6;0;"),
              std::string::npos);
}

TEST_F(DiscOptionsTest, ADiscOnDriveCGoesWhereTheScreenFilesGo) {
    const ProgramResult r = Run({"--disc", "c:\\Slides.ssd", Picture("p.bmp")});
    EXPECT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(Catalogue(drive / "Slides.ssd").title, "Slides");
}

}  // namespace

namespace {

TEST_F(DiscOptionsTest, TeletextPagesMixWithBitmapScreensOnOneDisc) {
    const std::string picture = Picture("card.bmp");
    const std::string page = folder / "card.page", png = folder / "card.png";
    ProgramResult r = Run({"-m", "7", "-o", page, "--display", png, picture});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(r.out,
              picture + " -> " + page + ", " + page + ".inf, " + png + " (MODE 7, teletext)\n");
    EXPECT_EQ(ReadFileBytes(page).size(), 1000u);
    EXPECT_EQ(ReadFileBytes(page + ".inf"), "$.SCREEN   007C00 000000 0003E8\r\n");

    // A 1000-byte file can only be a MODE 7 page, so it joins a MODE 1 show as one.
    const std::string screen = folder / "card.screen", disc = folder / "mixed.ssd";
    ASSERT_EQ(Run({"-q", "-m", "1", "-o", screen, picture}).exitCode, 0);
    r = Run({"--show", "-m", "1", page, screen, page, "--disc", disc});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_NE(r.out.find(page + " -> the disc (MODE 7)"), std::string::npos) << r.out;
    const DfsCatalogue catalogue = Catalogue(disc);
    ASSERT_EQ(catalogue.entries.size(), 3u);
    EXPECT_EQ(catalogue.entries[0].name, "!PAGES");
    EXPECT_EQ(catalogue.entries[0].length, 2000u);
    EXPECT_EQ(catalogue.entries[1].name, "CARD");
    const std::string image = ReadFileBytes(disc);
    const std::string bytes = ReadFileBytes(page);
    EXPECT_EQ(image.substr(catalogue.entries[0].startSector * 256, 2000), bytes + bytes);
}

}  // namespace
