#pragma once

#include <cstdint>
#include <vector>

#include "colour/Palette.h"
#include "platform/picture/PictureBox.h"
#include "screen/EncodedScreen.h"

// The picture a monitor shows of the screen area: 640 x 512, each BBC pixel as many columns wide
// as 640 / its MODE's pixels per line and two lines high.
inline constexpr int kDisplayWidth = 640;
inline constexpr int kDisplayHeight = 512;

// Decodes screen memory of a MODE (its whole length, as the screen file holds it) into what the
// monitor shows, each logical colour in the physical colour the palette gives it. MODE 2's
// flashing logical colours 8-15, which a converted picture never uses, are drawn in the steady
// colour of their default (logical 8 + k as colour k). MODE 7's page is drawn by DisplayTeletext
// in its own colours, whatever the palette. Raises std::invalid_argument for a MODE other than
// 0, 1, 2, 4, 5 or 7 or a length that is not that MODE's screen.
PictureBox DisplayScreen(const std::vector<std::uint8_t>& screen, int screenMode,
                         const Palette& palette);

// DisplayScreen of a converted screen's bytes, MODE and palette.
PictureBox DisplayScreen(const EncodedScreen& screen);

// A physical colour 0-7 (bit 0 red, bit 1 green, bit 2 blue) as a picture box colour value.
std::uint32_t PhysicalColourValue(int physical);
