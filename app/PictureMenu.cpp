#include "app/PictureMenu.h"

#include <QAction>
#include <QActionGroup>
#include <QMenu>
#include <QMenuBar>

namespace {

// A submenu of exclusive, checkable items; the first is checked.
template <std::size_t N>
std::array<QAction*, N> RadioGroup(QMenu* menu, const char* title,
                                   const std::array<const char*, N>& captions) {
    QMenu* submenu = menu->addMenu(QString::fromUtf8(title));
    auto* group = new QActionGroup(submenu);
    std::array<QAction*, N> actions{};
    for (std::size_t i = 0; i < N; ++i) {
        actions[i] = submenu->addAction(QString::fromUtf8(captions[i]));
        actions[i]->setCheckable(true);
        group->addAction(actions[i]);
    }
    actions[0]->setChecked(true);
    return actions;
}

}  // namespace

PictureMenu CreatePictureMenu(QMenuBar* bar, QAction* before) {
    PictureMenu picture;
    picture.menu = new QMenu(QStringLiteral("&Picture"), bar);
    bar->insertMenu(before, picture.menu);
    picture.diffusion = RadioGroup<6>(
        picture.menu, "Error Diffusion",
        {"Off", "Floyd-Steinberg", "Atkinson", "Sierra", "Jarvis-Judice-Ninke", "Search"});
    picture.palette = RadioGroup<2>(picture.menu, "Palette", {"Standard", "Best for This Picture"});
    picture.sampling = RadioGroup<2>(picture.menu, "Sampling", {"Point", "Area Average"});
    picture.fit = RadioGroup<3>(picture.menu, "Fit", {"Stretch", "Keep Aspect", "Fill"});
    picture.menu->addSeparator();
    picture.adjust = picture.menu->addAction(QStringLiteral("Adjust Picture..."));
    picture.photo = picture.menu->addAction(QStringLiteral("Photo Settings"));
    picture.copyPalette = picture.menu->addAction(QStringLiteral("Copy Palette Commands"));
    return picture;
}
