// The Picture menu: its choices, the photo settings and the palette commands.

#include <QAction>
#include <QGroupBox>
#include <QImage>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>

#include "acquire/LoadPicture.h"
#include "app/ConversionSettings.h"
#include "tests/app/ConvertDirectly.h"
#include "tests/app/WindowFakes.h"

namespace {

QStringList Captions(const QMenu* menu) {
    QStringList captions;
    for (const QAction* action : menu->actions()) {
        captions << (action->isSeparator() ? QStringLiteral("-") : action->text());
    }
    return captions;
}

template <std::size_t N>
int Chosen(const std::array<QAction*, N>& group) {
    for (std::size_t i = 0; i < N; ++i) {
        if (group[i]->isChecked()) return static_cast<int>(i);
    }
    return -1;
}

TEST_F(WindowTest, PictureMenuItemsStartAtTheClassicConversion) {
    const PictureMenu& picture = window->mnuPicture;
    EXPECT_EQ(Captions(picture.menu),
              QStringList({"Error Diffusion", "Palette", "Sampling", "Fit", "-",
                           "Adjust Picture...", "Photo Settings", "Copy Palette Commands"}));
    // Each group's items live in a submenu of their own.
    EXPECT_EQ(Captions(qobject_cast<QMenu*>(picture.diffusion[0]->parent())),
              QStringList({"Off", "Floyd-Steinberg", "Atkinson", "Sierra", "Jarvis-Judice-Ninke",
                           "Search"}));
    EXPECT_EQ(picture.palette[1]->text(), "Best for This Picture");
    EXPECT_EQ(picture.sampling[1]->text(), "Area Average");
    EXPECT_EQ(picture.fit[1]->text(), "Keep Aspect");
    EXPECT_EQ(Chosen(picture.diffusion) + Chosen(picture.palette) + Chosen(picture.sampling) +
                  Chosen(picture.fit),
              0);
    EXPECT_FALSE(picture.copyPalette->isEnabled()) << "the MODE's own colours need no commands";
    EXPECT_TRUE(window->picImage2->toolTip().isEmpty());
}

TEST_F(WindowTest, DiffusionDisablesTheHalftoneFrameAndKeepsItsChoice) {
    window->optTone[3]->setChecked(true);
    window->mnuPicture.diffusion[2]->trigger();
    EXPECT_EQ(ConversionSettings.Diffusion, 2);
    EXPECT_FALSE(window->Frame2->isEnabled());
    EXPECT_TRUE(window->optTone[3]->isChecked());
    window->mnuPicture.diffusion[0]->trigger();
    EXPECT_TRUE(window->Frame2->isEnabled());
    EXPECT_EQ(ConversionSettings.ToneStyle, 3);
}

TEST_F(WindowTest, PhotoSettingsChooseTheRecipeAndConvertNothing) {
    window->mnuPicture.photo->trigger();
    ConversionSettingsFields photo = kStartSettings;
    ApplyPhotoSettings(photo);
    EXPECT_EQ(ConversionSettings, photo);
    EXPECT_EQ(Chosen(window->mnuPicture.diffusion), photo.Diffusion);
    EXPECT_EQ(Chosen(window->mnuPicture.fit), photo.Fit);
    EXPECT_FALSE(OutputsExist());
}

TEST_F(WindowTest, AdjustPictureFollowsTheDialogAndCancelPutsBack) {
    const PictureAdjustments lighter{20, 0, 0, 1.0, false};
    const PictureAdjustments lighterStill{40, 0, 10, 2.0, true};
    adjuster.steps = {lighter, lighterStill};
    window->mnuPicture.adjust->trigger();
    EXPECT_EQ(adjuster.shownWith, std::vector<PictureAdjustments>{PictureAdjustments{}});
    EXPECT_EQ(adjuster.settingsDuring, adjuster.steps) << "each change reaches the settings";
    EXPECT_EQ(ConversionSettings.Adjustments, lighterStill);

    adjuster.steps = {PictureAdjustments{}};
    adjuster.cancel = true;
    window->mnuPicture.adjust->trigger();
    EXPECT_EQ(adjuster.shownWith.back(), lighterStill);
    EXPECT_EQ(ConversionSettings.Adjustments, lighterStill) << "Cancel keeps what was there";
    EXPECT_FALSE(OutputsExist());
}

// Sky blue over a cyan sea: a picture that the MODE's own colours cannot show.
std::string BlueAndCyanPicture(const std::string& path) {
    QImage image(400, 300, QImage::Format_RGB32);
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            image.setPixel(x, y, y < 150 ? qRgb(20, 40, 80 + x / 3) : qRgb(10, 90 + x / 3, 120));
        }
    }
    EXPECT_TRUE(image.save(QString::fromStdString(path), "BMP"));
    return path;
}

TEST_F(WindowTest, ChoicesReachTheConversion) {
    const std::string picture = BlueAndCyanPicture(pictures / "sea.bmp");
    chooser.answers = {QString::fromStdString(picture)};
    window->mnuFileOpen_Click();
    window->Timer1_Timer();  // sampled and converted as the classic conversion

    window->optMode[1]->setChecked(true);
    window->mnuPicture.diffusion[3]->trigger();
    window->mnuPicture.palette[1]->trigger();
    window->mnuPicture.sampling[1]->trigger();
    window->mnuPicture.fit[1]->trigger();
    adjuster.steps = {PictureAdjustments{10, -20, 30, 1.5, true}};
    window->mnuPicture.adjust->trigger();
    const ConversionSettingsFields chosen = ConversionSettings;
    window->cmdConvert->click();
    ASSERT_TRUE(messages.texts.isEmpty()) << messages.texts.join("\n").toStdString();

    // The same conversion, run directly: sampled again, since sampling and fit changed.
    const Palette palette = ConvertDirectly(picture, chosen, drive / "direct.screen");
    EXPECT_EQ(ReadFileBytes(ScreenPath()), ReadFileBytes(drive / "direct.screen"));

    // The palette is not the MODE's own, and the window says how to set it.
    ASSERT_NE(palette, DefaultPalette(1));
    const QString commands = window->picImage2->toolTip();
    EXPECT_TRUE(commands.startsWith("VDU 19,")) << commands.toStdString();
    window->mnuPicture.copyPalette->trigger();
    EXPECT_EQ(clipboard.texts, QStringList({commands}));
}

}  // namespace
