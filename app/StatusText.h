#pragma once

#include <string>
#include <vector>

#include "colour/Palette.h"
#include "convert/ConversionChoices.h"
#include "disc/SlideshowDisc.h"

// What the window's status line says, in the words of its menus.

// The choices a conversion was made with: "MODE 1, Atkinson", "MODE 2, Fine halftone, Stagger",
// "MODE 5, Atkinson, best palette, area average, keep aspect, adjusted". The halftone and Stagger
// are left out while a kernel diffuses, since they play no part then.
std::string ChoicesText(const ConversionChoices& choices);

// The palette's colours by name: "black, red, yellow, white".
std::string PaletteText(const Palette& palette);

// After a conversion was written: "Wrote /home/you/$.screen and $.screen.inf: MODE 1, Atkinson,
// black, red, yellow, white".
std::string WroteText(const std::string& screenFile, const ConversionChoices& choices,
                      const Palette& palette);

// After a disc was saved, from what it holds (the catalogues counted, both sides of a .dsd):
// "Saved /home/you/slides.ssd: 3 pictures, 247 of 800 sectors used"; with its screens
// compressed, "Saved /home/you/slides.ssd: 3 pictures, 2 screens packed, 95 of 800 sectors used".
std::string SavedDiscText(const std::string& path, const DiscSummary& summary, bool compress);
