#pragma once

#include <array>

class QAction;
class QMenu;
class QMenuBar;

// The Picture menu: radio groups of submenus for the picture choices, each item's index the
// value of its ConversionSettings field, then "Adjust Picture...", "Photo Settings" and "Copy
// Palette Commands".
struct PictureMenu {
    QMenu* menu = nullptr;
    std::array<QAction*, 6> diffusion{};  // Off, then the kernels in Diffusion order, Search
    std::array<QAction*, 2> palette{};    // Standard, Best for This Picture
    std::array<QAction*, 2> sampling{};   // Point, Area Average
    std::array<QAction*, 3> fit{};        // Stretch, Keep Aspect, Fill
    QAction* adjust = nullptr;
    QAction* photo = nullptr;
    QAction* copyPalette = nullptr;
};

// Builds the menu into the bar, in front of `before`, with the first item of each group chosen.
PictureMenu CreatePictureMenu(QMenuBar* bar, QAction* before);
