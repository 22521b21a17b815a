// The Disc window: a slideshow disc built from the window's conversions.

#include <QAction>
#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTreeWidget>
#include <filesystem>

#include "app/DiscWindow.h"
#include "app/StatusLine.h"
#include "app/WindowExtras.h"
#include "disc/DfsCatalogue.h"
#include "tests/app/ConverterProcess.h"
#include "tests/app/WindowFakes.h"

namespace {

class DiscWindowTest : public WindowTest {
protected:
    DiscWindow& Disc() { return *window->extras->disc; }

    // Adds the pictures through File > "Add Pictures to Disc..." and waits for them.
    void AddPictures(const std::vector<std::string>& files) {
        QStringList list;
        for (const std::string& file : files) list << QString::fromStdString(file);
        chooser.manyAnswers = {list};
        window->extras->mnuFileAddPictures->trigger();
        ASSERT_TRUE(QTest::qWaitFor([&] { return !Disc().Adding(); }, 60000));
    }

    std::vector<std::string> Names() {
        std::vector<std::string> names;
        for (int row = 0; row < Disc().lstPictures->topLevelItemCount(); ++row)
            names.push_back(Disc().lstPictures->topLevelItem(row)->text(0).toStdString());
        return names;
    }

    // The disc's files as its catalogue lists them, in the order they were written.
    std::vector<std::string> SavedNames(const std::string& disc) {
        const std::string image = ReadFileBytes(disc);
        const DfsCatalogue catalogue =
            DecodeCatalogue(reinterpret_cast<const std::uint8_t*>(image.data()), image.size());
        std::vector<std::string> names;
        for (auto entry = catalogue.entries.rbegin(); entry != catalogue.entries.rend(); ++entry)
            names.push_back(entry->name);
        return names;
    }

    // The catalogue and up to the end of the highest file.
    int SectorsUsed(const std::string& disc) {
        const std::string image = ReadFileBytes(disc);
        const DfsCatalogue catalogue =
            DecodeCatalogue(reinterpret_cast<const std::uint8_t*>(image.data()), image.size());
        const DfsEntry& last = catalogue.entries.front();
        return last.startSector + SectorsFor(last.length);
    }

    // The length of the named file in the disc's first catalogue.
    std::size_t FileLength(const std::string& disc, const std::string& name) {
        const std::string image = ReadFileBytes(disc);
        const DfsCatalogue catalogue =
            DecodeCatalogue(reinterpret_cast<const std::uint8_t*>(image.data()), image.size());
        for (const DfsEntry& entry : catalogue.entries)
            if (entry.name == name) return entry.length;
        ADD_FAILURE() << name << " is not on " << disc;
        return 0;
    }

    std::string Save(const std::string& name) {
        const std::string path = pictures / name;
        chooser.saveAnswers = {QString::fromStdString(path)};
        Disc().cmdSave->click();
        return path;
    }
};

TEST_F(DiscWindowTest, AThreePictureDiscIsTheConvertersOwn) {
    const std::string bridge = MakePicture("Chelsea Bridge.bmp", 413, 287, "BMP");
    const std::string coffee = MakePicture("coffee.png", 300, 400, "PNG");
    const std::string rocket = MakePicture("Coffee 2.jpg", 640, 480, "JPG");
    window->optMode[1]->setChecked(true);
    window->mnuPicture.diffusion[2]->trigger();
    window->OpenPicture(QString::fromStdString(bridge));
    window->Timer1_Timer();
    window->extras->mnuFileAddToDisc->trigger();
    AddPictures({coffee, rocket});
    EXPECT_TRUE(messages.texts.isEmpty()) << messages.texts.join("\n").toStdString();
    EXPECT_EQ(Names(), std::vector<std::string>({"CHELSEA", "COFFEE", "COFFEE2"}));

    // As `--disc FILE [--compress]`: the meter and the disc follow File > "Compress Screens",
    // and a .dsd name makes a double-sided disc.
    struct Case {
        const char* file;
        bool compress;
    };
    for (const Case test : {Case{"show.ssd", false}, Case{"packed.ssd", true},
                            Case{"packed.dsd", true}, Case{"show.dsd", false}}) {
        SCOPED_TRACE(test.file);
        window->mnuFileCompress->setChecked(test.compress);
        const std::string disc = Save(test.file);
        ASSERT_TRUE(messages.texts.isEmpty()) << messages.texts.join("\n").toStdString();
        const bool dsd = std::string(test.file).ends_with(".dsd");
        EXPECT_EQ(ReadFileBytes(disc).size(), dsd ? 2 * 204800u : 204800u);
        // Side 0 of a .dsd holds all three; the second side is its catalogue alone.
        const int used = SectorsUsed(disc);
        EXPECT_TRUE(Disc().lblCapacity->text().startsWith(QString::number(used) + " of 800"))
            << Disc().lblCapacity->text().toStdString();
        int packed = 0;
        for (const std::string& name : SavedNames(disc))
            packed += name != "!BOOT" && name != "!UNPACK" && FileLength(disc, name) < 20480;
        EXPECT_EQ(packed > 0, test.compress);
        const std::string packedText =
            test.compress
                ? std::to_string(packed) + (packed == 1 ? " screen" : " screens") + " packed, "
                : "";
        EXPECT_EQ(window->extras->status->Text().toStdString(),
                  "Saved " + disc + ": 3 pictures, " + packedText +
                      std::to_string(used + (dsd ? kDfsCatalogueSectors : 0)) + " of " +
                      (dsd ? "1600" : "800") + " sectors used");
#ifndef QUILLIX_CONVERT
        GTEST_SKIP() << "quillix-convert is not built: the disc is not compared with its own";
#else
        // Titled after the file's name, so made under the same one.
        std::filesystem::create_directory(pictures / "cli");
        const std::string theirs = pictures / (std::string("cli/") + test.file);
        QStringList arguments{
            "-q", "-m", "1", "-t", "atkinson", "--disc", QString::fromStdString(theirs)};
        if (test.compress) arguments << "--compress";
        arguments << QString::fromStdString(bridge) << QString::fromStdString(coffee)
                  << QString::fromStdString(rocket);
        RunConverterExpectingSuccess(arguments);
        EXPECT_EQ(ReadFileBytes(theirs), ReadFileBytes(disc));
#endif
    }
}

TEST_F(DiscWindowTest, ReorderRemoveAndRenameChangeTheDisc) {
    AddPictures({MakePicture("a.bmp", 40, 30, "BMP"), MakePicture("b.bmp", 50, 30, "BMP"),
                 MakePicture("c.bmp", 60, 30, "BMP")});
    Disc().lstPictures->setCurrentItem(Disc().lstPictures->topLevelItem(0));
    Disc().cmdMoveDown->click();
    Disc().cmdMoveDown->click();
    EXPECT_EQ(Names(), std::vector<std::string>({"B", "C", "A"}));
    Disc().cmdMoveUp->click();
    EXPECT_EQ(Names(), std::vector<std::string>({"B", "A", "C"}));
    // A drag leaves the list's items in their new order; the disc takes that order.
    QTreeWidget& list = *Disc().lstPictures;
    list.insertTopLevelItem(0, list.takeTopLevelItem(2));
    emit Disc().lstPictures->Reordered();
    QTest::qWait(0);
    EXPECT_EQ(Names(), std::vector<std::string>({"C", "B", "A"}));
    list.insertTopLevelItem(2, list.takeTopLevelItem(0));
    emit Disc().lstPictures->Reordered();
    QTest::qWait(0);
    EXPECT_EQ(SavedNames(Save("1.ssd")), std::vector<std::string>({"!BOOT", "B", "A", "C"}));

    Disc().lstPictures->setCurrentItem(Disc().lstPictures->topLevelItem(0));
    Disc().cmdRemove->click();
    EXPECT_EQ(SavedNames(Save("2.ssd")), std::vector<std::string>({"!BOOT", "A", "C"}));

    struct Case {
        const char* name;
        bool refused;
    };
    for (const Case test : {Case{"slide1", false}, Case{"C", true}, Case{"has space", true},
                            Case{"EIGHTCHR", true}, Case{"", true}}) {
        SCOPED_TRACE(test.name);
        messages.texts.clear();
        Disc().Rename(0, QString::fromUtf8(test.name));
        QTest::qWait(0);
        EXPECT_EQ(messages.texts.size(), test.refused ? 1 : 0);
        EXPECT_EQ(Names()[0], "SLIDE1") << "renamed once, then kept";
    }
    EXPECT_EQ(SavedNames(Save("3.ssd")), std::vector<std::string>({"!BOOT", "SLIDE1", "C"}));
}

TEST_F(DiscWindowTest, AFullDiscIsRefusedBeforeAnythingIsWritten) {
    Disc().cmbTracks->setCurrentIndex(1);  // 40 tracks: four MODE 2 pictures
    std::vector<std::string> five;
    for (const char* name : {"1.bmp", "2.bmp", "3.bmp", "4.bmp", "5.bmp"})
        five.push_back(MakePicture(name, 40, 30, "BMP"));
    AddPictures(five);
    ASSERT_EQ(messages.texts.size(), 1);
    EXPECT_EQ(messages.texts[0],
              "The disc is full: 5 more MODE 2 pictures do not fit on 40 "
              "tracks; 4 more do.");
    EXPECT_TRUE(Names().empty()) << "nothing converted";

    AddPictures({five[0], five[1], five[2], five[3]});
    EXPECT_EQ(Names().size(), 4u);
    EXPECT_TRUE(Disc().lblCapacity->text().endsWith(
        "of 400 sectors used. Room for 5 more MODE 2 pictures on 80 tracks, 0 on 40."))
        << Disc().lblCapacity->text().toStdString();
    window->OpenPicture(QString::fromStdString(five[4]));
    window->Timer1_Timer();
    window->extras->mnuFileAddToDisc->trigger();
    ASSERT_EQ(messages.texts.size(), 2);
    EXPECT_EQ(messages.texts[1],
              "The disc is full: another MODE 2 picture does not fit on 40 "
              "tracks; none does.");

    Disc().cmbTracks->setCurrentIndex(0);
    window->extras->mnuFileAddToDisc->trigger();
    Disc().cmbTracks->setCurrentIndex(1);
    const std::string disc = Save("full.ssd");
    ASSERT_EQ(messages.texts.size(), 3);
    EXPECT_TRUE(messages.texts[2].contains("a 40-track disc holds 4 pictures in MODE 2"))
        << messages.texts[2].toStdString();
    EXPECT_FALSE(std::filesystem::exists(disc));
}

TEST_F(DiscWindowTest, CompressedScreensAreCountedPackedAndAFullDiscIsStillRefused) {
    // Flat screens pack to a sector or two: 30 of them fill the catalogue, not the sectors.
    for (int i = 0; i < 30; ++i) {
        window->Document().Disc().Add(
            "", "FLAT",
            {ScreenMode::Mode1, std::vector<std::uint8_t>(20480, 0x0F), DefaultPalette(1), {}});
    }
    Disc().Refresh();
    EXPECT_TRUE(Disc().lblCapacity->text().endsWith(": too many pictures for 80 tracks"))
        << Disc().lblCapacity->text().toStdString();
    EXPECT_TRUE(Disc().lblCapacity->toolTip().isEmpty());

    window->mnuFileCompress->setChecked(true);
    EXPECT_TRUE(Disc().lblCapacity->text().endsWith(
        "sectors used with the screens compressed. Room for 0 more MODE 2 pictures uncompressed "
        "on 80 tracks, 0 on 40."))
        << Disc().lblCapacity->text().toStdString();
    EXPECT_TRUE(Disc().lblCapacity->toolTip().contains("uncompressed"));
    const std::string full = Save("full.ssd");
    ASSERT_EQ(messages.texts.size(), 1);
    EXPECT_EQ(messages.texts[0].toStdString(),
              "Cannot Write File : " + full +
                  "\n\nthe disc is full: 30 pictures do not fit; an 80-track disc holds the "
                  "first 29 of them, compressed");
    EXPECT_FALSE(std::filesystem::exists(full));

    Disc().lstPictures->setCurrentItem(Disc().lstPictures->topLevelItem(0));
    Disc().cmdRemove->click();
    const std::string disc = Save("29.ssd");
    const int used = SectorsUsed(disc);
    EXPECT_LT(used, 100);
    EXPECT_TRUE(Disc().lblCapacity->text().startsWith(QString::number(used) + " of 800"))
        << Disc().lblCapacity->text().toStdString();
    EXPECT_EQ(window->extras->status->Text().toStdString(),
              "Saved " + disc + ": 29 pictures, 29 screens packed, " + std::to_string(used) +
                  " of 800 sectors used");
}

}  // namespace
