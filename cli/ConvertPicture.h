#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "screen/ScreenBytes.h"

// The window's whole pipeline for one picture, with the current ConversionSettings: load it,
// sample it onto the grid, InitTables, BuildThresholdTable and WriteImage to screenFile (a
// "c:\..." path is placed by the drive mapping). With previewFile, the converted 320 x 256
// preview is also written there as PNG. Every file is replaced whole or not at all, and when
// anything fails none of them is: FileError names the file and the reason. With displayFile, the
// 640 x 512 picture a monitor shows of the screen (DisplayScreen.h) is written there as PNG. An
// empty screenFile writes no screen file. Returns the screen bytes, as the screen file holds them,
// and the palette its logical colours stand for.
EncodedScreen ConvertPicture(const std::string& picture, const std::string& screenFile,
                             const std::optional<std::string>& previewFile,
                             const std::optional<std::string>& displayFile = {});
