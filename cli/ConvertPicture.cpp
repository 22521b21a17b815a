#include "cli/ConvertPicture.h"

#include <cstdint>

#include "acquire/LoadPicture.h"
#include "acquire/SampleCapture.h"
#include "acquire/streaming/StreamSamples.h"
#include "cli/PngFile.h"
#include "convert/ConversionSettings.h"
#include "convert/Module1.h"
#include "platform/files/AtomicFile.h"
#include "platform/picture/PictureBox.h"
#include "platform/process/QuietStderr.h"
#include "screen/DisplayScreen.h"
#include "screen/ScreenBytes.h"
#include "screen/WriteImage.h"

EncodedScreen ConvertPicture(const std::string& picture, const std::string& screenFile,
                             const std::optional<std::string>& previewFile,
                             const std::optional<std::string>& displayFile) {
    PictureBox preview(kPreviewWidth, kPreviewHeight);
    // JPEG and BMP pictures are sampled while they decode, never held whole; the rest load the
    // picture as the window does.
    const bool streamed = StreamSamples(picture, static_cast<Fit>(ConversionSettings.Fit), preview,
                                        static_cast<SamplingChoices>(ConversionSettings.Sampling));
    if (!streamed) {
        PictureBox source;
        {
            QuietStderr quiet;
            LoadPicture(picture, source);
        }
        CaptureSampleGrid(source, preview);
    }  // a large picture's memory goes back before the conversion
    Module1::InitTables();
    Module1::BuildThresholdTable();

    // The PNGs are complete on disk before the screen files are written and are put in place
    // only after them, so a failure of any leaves all the files as they were. Their content is
    // the picture WriteImage is about to draw and the screen it is about to write, worked out
    // once beforehand.
    PictureBox converted(kPreviewWidth, kPreviewHeight);
    const EncodedScreen screen = EncodeScreenAndPalette(converted);
    std::optional<AtomicFile> png;
    if (previewFile) PreparePng(png.emplace(*previewFile), converted);
    std::optional<AtomicFile> display;
    if (displayFile) {
        PreparePng(display.emplace(*displayFile),
                   DisplayScreen(screen.bytes, ConversionSettings.ScreenMode, screen.palette));
    }
    if (!screenFile.empty()) WriteImage(preview, screenFile, kConvertMaxVal);
    if (png) png->Commit();
    if (display) display->Commit();
    return screen;
}
