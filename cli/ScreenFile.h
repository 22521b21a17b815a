#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "colour/Palette.h"

// Reads an existing screen file of a MODE, which must be exactly that MODE's screen length (20480
// or 10240 bytes); raises FileError naming path and the reason otherwise.
std::vector<std::uint8_t> ReadScreenFile(const std::string& path, int screenMode);

// Writes the 640 x 512 picture that a monitor shows of the screen (DisplayScreen.h), in the
// palette's colours, as PNG to path, whole or not at all; FileError on failure.
void WriteDisplayPng(const std::string& path, const std::vector<std::uint8_t>& screen,
                     int screenMode, const Palette& palette);
