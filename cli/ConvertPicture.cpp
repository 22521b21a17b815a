#include "cli/ConvertPicture.h"

#include <QBuffer>
#include <QImage>
#include <QImageWriter>
#include <cstdint>

#include "acquire/LoadPicture.h"
#include "acquire/SampleCapture.h"
#include "convert/Module1.h"
#include "platform/files/AtomicFile.h"
#include "platform/picture/PictureBox.h"
#include "platform/process/QuietStderr.h"
#include "screen/EncodeScreen.h"
#include "screen/WriteImage.h"

namespace {

class DiscardingSink : public ScreenSink {
public:
    void Put(const std::uint8_t*, std::size_t) override {}
};

QByteArray PngOf(const PictureBox& preview) {
    QImage image(preview.Width(), preview.Height(), QImage::Format_RGB32);
    for (int y = 0; y < preview.Height(); ++y) {
        const std::uint32_t* row = preview.Row(y);
        for (int x = 0; x < preview.Width(); ++x) {
            const std::uint32_t v = row[x];
            image.setPixel(x, y, qRgb(v & 0xFF, (v >> 8) & 0xFF, (v >> 16) & 0xFF));
        }
    }
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, "png");
    if (!writer.write(image)) bytes.clear();
    return bytes;
}

}  // namespace

void ConvertPicture(const std::string& picture, const std::string& screenFile,
                    const std::optional<std::string>& previewFile) {
    PictureBox preview(kPreviewWidth, kPreviewHeight);
    {
        PictureBox source;
        {
            QuietStderr quiet;
            LoadPicture(picture, source);
        }
        CaptureSampleGrid(source, preview);
    }  // a large picture's memory goes back before the conversion
    Module1::InitTables();
    Module1::BuildThresholdTable();

    // The preview PNG is complete on disk before the screen files are written and is put in
    // place only after them, so a failure of either leaves all three files as they were. Its
    // content is the picture WriteImage is about to draw, worked out once beforehand.
    std::optional<AtomicFile> png;
    if (previewFile) {
        png.emplace(*previewFile);
        PictureBox converted(kPreviewWidth, kPreviewHeight);
        DiscardingSink nowhere;
        EncodeScreen(nowhere, converted);
        const QByteArray bytes = PngOf(converted);
        if (bytes.isEmpty()) throw FileError(*previewFile, "the PNG could not be encoded");
        png->Write(bytes.constData(), static_cast<std::size_t>(bytes.size()));
        png->Close();
    }
    WriteImage(preview, screenFile, kConvertMaxVal);
    if (png) png->Commit();
}
