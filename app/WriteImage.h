#pragma once

#include <cstdint>
#include <string>

#include "screen/EncodedScreen.h"
#include "screen/ScreenFiles.h"

class PictureBox;

// What the Convert command hands to WriteImage: the fixed screen file and a maxVal of 255.
inline constexpr std::int32_t kConvertMaxVal = 255;

// Clears the preview, encodes the SampleGrid (EncodeScreen) into the screen file fileName (a
// Windows-style "c:\..." path is placed by the drive mapping) and writes its one-line catalogue
// sidecar, fileName + ".inf". Both files are replaced whole or not at all: any failure raises
// FileError naming the file and the reason, and leaves the previous screen file and sidecar as
// they were; a screen file that cannot be made fails before anything is encoded. maxVal is
// accepted for the callers' sake and changes nothing. Returns the converted screen.
EncodedScreen WriteImage(PictureBox& preview, const std::string& fileName, std::int32_t maxVal);
