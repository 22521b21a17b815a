#pragma once

#include <optional>
#include <string>

#include "convert/ConversionChoices.h"
#include "screen/EncodedScreen.h"

// Where one converted screen goes: its screen file and sidecar (a "c:\..." path is placed by the
// drive mapping; empty for none), the 320 x 256 preview as PNG, and the 640 x 512 picture a
// monitor shows of it (DisplayScreen.h) as PNG.
struct ScreenOutputs {
    std::string screenFile;
    std::optional<std::string> previewFile;
    std::optional<std::string> displayFile;
};

// Writes the screen's files. Every file is replaced whole or not at all, and when anything fails
// none of them is: FileError names the file and the reason.
void WriteOutputs(const EncodedScreen& screen, const ScreenOutputs& outputs);

// The converter's whole job for one picture: ConvertPictureFile, then WriteOutputs. Returns the
// converted screen.
EncodedScreen ConvertPicture(const std::string& picture, const ConversionChoices& choices,
                             const ScreenOutputs& outputs);
