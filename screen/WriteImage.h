#pragma once

#include <cstdint>
#include <string>

#include "convert/Palette.h"
#include "screen/ScreenGeometry.h"

class PictureBox;

// What the Convert command hands to WriteImage: the fixed screen file and a maxVal of 255.
inline constexpr const char* kScreenFileName = "c:\\$.screen";
inline constexpr std::int32_t kConvertMaxVal = 255;

// Clears the preview, encodes the SampleGrid into the screen file fileName (a Windows-style
// "c:\..." path is placed by the drive mapping) and writes its one-line catalogue sidecar,
// fileName + ".inf". Both files are replaced whole or not at all: any failure raises FileError
// naming the file and the reason, and leaves the previous screen file and sidecar as they were.
// maxVal is accepted for the callers' sake and changes nothing. Returns the palette the screen
// file's logical colours stand for.
Palette WriteImage(PictureBox& preview, const std::string& fileName, std::int32_t maxVal);

// The sidecar's content for a MODE: its catalogue line ended by CR LF.
std::string SidecarText(int screenMode);
