#include "acquire/LoadPicture.h"

#include <QImageReader>
#include <QString>
#include <cstdint>
#include <vector>

#include "acquire/ColourValues.h"
#include "acquire/DeclaredSize.h"
#include "acquire/PictureFile.h"
#include "platform/AtomicFile.h"
#include "platform/PictureBox.h"

namespace {

// Enough for the largest picture allowed at 4 bytes a pixel, in the megabytes Qt counts in.
constexpr int kAllocationLimitMb =
    static_cast<int>(std::int64_t{kMaxPictureSide} * kMaxPictureSide * 4 / (1024 * 1024));

// Keeps the decoders' own warnings (libjpeg's "Premature end of JPEG file", libpng's profile
// complaints) off the terminal while a picture decodes: the loader reports what matters itself.
class QuietDecoders {
public:
    QuietDecoders() : previous_(qInstallMessageHandler(&Discard)) {}
    ~QuietDecoders() { qInstallMessageHandler(previous_); }
    QuietDecoders(const QuietDecoders&) = delete;
    QuietDecoders& operator=(const QuietDecoders&) = delete;

private:
    static void Discard(QtMsgType, const QMessageLogContext&, const QString&) {}
    QtMessageHandler previous_;
};

std::string SizeText(const QSize& size) {
    return std::to_string(size.width()) + " x " + std::to_string(size.height());
}

bool TooLarge(const QSize& size) {
    return size.width() > kMaxPictureSide || size.height() > kMaxPictureSide;
}

constexpr const char* kTruncated = "truncated picture: the file ends too soon";

[[noreturn]] void FailToDecode(const std::string& path, const QImageReader& reader,
                               const PictureFile& file) {
    // A decoder that gave up after running into the end of the file met a cut-off picture.
    if (reader.error() != QImageReader::UnsupportedFormatError && file.ShortRead()) {
        throw FileError(path, kTruncated);
    }
    switch (reader.error()) {
        case QImageReader::UnsupportedFormatError:
            throw FileError(path, "not a picture, or in a format that cannot be read");
        case QImageReader::DeviceError:
            throw FileError(path, "cannot be read: " + reader.errorString().toStdString());
        default:
            throw FileError(path, "damaged or incomplete picture");
    }
}

// Qt's BMP decoder stops quietly at a short read and its JPEG decoder pads a cut-off file with
// grey, both reporting success; the file itself shows that the picture was cut off.
bool CutOff(const QByteArray& format, const PictureFile& file) {
    if (format == "bmp") return file.ShortRead();
    if (format == "jpeg" || format == "jpg") return file.ReadPastEnd();
    return false;
}

}  // namespace

void LoadPicture(const std::string& path, PictureBox& box) {
    if (QImageReader::allocationLimit() < kAllocationLimitMb) {
        QImageReader::setAllocationLimit(kAllocationLimitMb);
    }
    PictureFile file;
    file.Open(path);

    QuietDecoders quiet;
    // The format comes from the content alone, so a picture with the wrong extension loads too.
    QImageReader reader(&file);
    reader.setAutoTransform(true);
    if (!reader.canRead()) FailToDecode(path, reader, file);
    // Telling the format apart peeks further than a small file may reach: only what the chosen
    // decoder reads counts.
    file.ForgetShortReads();
    QSize declared = reader.size();
    if (!declared.isValid()) declared = BmpDeclaredSize(file.Start(64));
    if (declared.isValid() && TooLarge(declared)) {
        throw FileError(path, "picture too large (" + SizeText(declared) + ")");
    }
    const QByteArray format = reader.format();

    // Most photographs decode as RGB32 at their stored orientation: then the decoder writes
    // straight into the box's pixel buffer, which saves a full copy of a large picture.
    std::vector<std::uint32_t> pixels;
    QImage image;
    if (reader.size().isValid() && reader.imageFormat() == QImage::Format_RGB32 &&
        reader.transformation() == QImageIOHandler::TransformationNone) {
        pixels.resize(static_cast<std::size_t>(declared.width()) * declared.height());
        image = QImage(reinterpret_cast<uchar*>(pixels.data()), declared.width(), declared.height(),
                       declared.width() * 4, QImage::Format_RGB32);
    }
    const uchar* const buffer = image.constBits();
    if (!reader.read(&image) || image.isNull()) FailToDecode(path, reader, file);
    if (CutOff(format, file)) throw FileError(path, kTruncated);
    if (TooLarge(image.size())) {
        throw FileError(path, "picture too large (" + SizeText(image.size()) + ")");
    }

    const int width = image.width();
    const int height = image.height();
    if (buffer != nullptr && image.constBits() == buffer &&
        image.format() == QImage::Format_RGB32) {
        image = QImage();
        ToColourValuesInPlace(pixels.data(), pixels.size());
    } else {
        std::vector<std::uint32_t>().swap(pixels);  // the unused buffer goes before the copy
        pixels = ColourValuesOf(image);
    }
    box.SetPicture(width, height, std::move(pixels));
}
