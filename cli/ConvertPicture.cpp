#include "cli/ConvertPicture.h"

#include "cli/PngFile.h"
#include "pipeline/Pipeline.h"
#include "screen/DisplayScreen.h"

void WriteOutputs(const EncodedScreen& screen, const ScreenOutputs& outputs) {
    // The PNGs are complete on disk before the screen files are written and are put in place
    // only after them, so a failure of any leaves all the files as they were.
    std::optional<AtomicFile> png;
    if (outputs.previewFile) PreparePng(png.emplace(*outputs.previewFile), screen.preview);
    std::optional<AtomicFile> display;
    if (outputs.displayFile)
        PreparePng(display.emplace(*outputs.displayFile), DisplayScreen(screen));
    if (!outputs.screenFile.empty()) WriteScreenFiles(outputs.screenFile, screen);
    if (png) png->Commit();
    if (display) display->Commit();
}

EncodedScreen ConvertPicture(const std::string& picture, const ConversionChoices& choices,
                             const ScreenOutputs& outputs) {
    EncodedScreen screen = ConvertPictureFile(picture, choices);
    WriteOutputs(screen, outputs);
    return screen;
}
