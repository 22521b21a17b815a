#pragma once

#include <optional>
#include <string>

// The window's whole pipeline for one picture, with the current ConversionSettings: load it,
// sample it onto the grid, InitTables, BuildThresholdTable and WriteImage to screenFile (a
// "c:\..." path is placed by the drive mapping). With previewFile, the converted 320 x 256
// preview is also written there as PNG. Every file is replaced whole or not at all, and when
// anything fails none of them is: FileError names the file and the reason.
void ConvertPicture(const std::string& picture, const std::string& screenFile,
                    const std::optional<std::string>& previewFile);
