#include "acquire/LoadPicture.h"

#include <QImageReader>
#include <QString>
#include <cstdint>
#include <cstring>
#include <system_error>
#include <thread>

#include "acquire/PictureFile.h"
#include "acquire/PictureHeader.h"
#include "acquire/PictureReasons.h"
#include "platform/files/FileError.h"
#include "platform/picture/PictureBox.h"
#include "platform/picture/PixelMemory.h"

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

// While the decoder fills a photograph's buffer, a second core takes on its memory ahead of it.
class PrefaultAhead {
public:
    void Start(void* data, std::size_t bytes) {
        try {
            worker_ = std::jthread([data, bytes] { Prefault(data, bytes); });
        } catch (const std::system_error&) {
            // No second thread: the decoder takes the memory on as it goes.
        }
    }
    void Finish() {
        if (worker_.joinable()) worker_.join();
    }

private:
    std::jthread worker_;  // joined when it goes
};

// The picture as the box holds it: rows of 0xAARRGGBB, a transparent colour as drawn over black
// (which is what premultiplied alpha holds).
PixelBuffer PixelsOf(const QImage& image) {
    const QImage argb = image.convertToFormat(
        image.hasAlphaChannel() ? QImage::Format_ARGB32_Premultiplied : QImage::Format_RGB32);
    const auto width = static_cast<std::size_t>(argb.width());
    PixelBuffer pixels = NewPixelBuffer(width * static_cast<std::size_t>(argb.height()));
    for (int y = 0; y < argb.height(); ++y) {
        std::memcpy(pixels.get() + static_cast<std::size_t>(y) * width, argb.constScanLine(y),
                    width * sizeof(std::uint32_t));
    }
    return pixels;
}

bool TooLarge(const QSize& size) {
    return size.width() > kMaxPictureSide || size.height() > kMaxPictureSide;
}

[[noreturn]] void FailToDecode(const std::string& path, const QImageReader& reader,
                               const PictureFile& file) {
    // A decoder that gave up after running into the end of the file met a cut-off picture.
    if (reader.error() != QImageReader::UnsupportedFormatError && file.ShortRead()) {
        throw FileError(path, kTruncatedPicture);
    }
    switch (reader.error()) {
        case QImageReader::UnsupportedFormatError:
            throw FileError(path, "not a picture, or in a format that cannot be read");
        case QImageReader::DeviceError:
            throw FileError(path, "cannot be read: " + reader.errorString().toStdString());
        default:
            throw FileError(path, kDamagedPicture);
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
    const QByteArray head = file.Start(64);
    QByteArray signature = FormatFromSignature(head);
    if (signature.isEmpty()) signature = FormatFromFooter(file.End(kFooterSize));
    QImageReader reader(&file, signature);
    // A known signature goes straight to its decoder; asking around would load every plugin.
    if (!signature.isEmpty()) reader.setAutoDetectImageFormat(false);
    reader.setAutoTransform(true);
    if (!reader.canRead()) FailToDecode(path, reader, file);
    // Telling the format apart peeks further than a small file may reach: only what the chosen
    // decoder reads counts.
    file.ForgetShortReads();
    QSize declared = reader.size();
    if (!declared.isValid()) declared = BmpDeclaredSize(head);
    if (declared.isValid() && TooLarge(declared)) {
        throw FileError(path, TooLargeReason(declared.width(), declared.height()));
    }
    const QByteArray format = reader.format();

    PixelBuffer pixels;
    QImage image;
    const uchar* decodeTarget = nullptr;
    PrefaultAhead prefault;
    if (reader.size().isValid() && reader.imageFormat() == QImage::Format_RGB32 &&
        reader.transformation() == QImageIOHandler::TransformationNone) {
        // Most photographs come here: they decode straight into the box's own buffer, which
        // then needs neither a copy nor a conversion.
        const auto count = static_cast<std::size_t>(declared.width()) * declared.height();
        pixels = NewPixelBuffer(count);
        image = QImage(reinterpret_cast<uchar*>(pixels.get()), declared.width(), declared.height(),
                       static_cast<qsizetype>(declared.width()) * 4, QImage::Format_RGB32);
        decodeTarget = image.constBits();
        prefault.Start(pixels.get(), count * sizeof(std::uint32_t));
    }
    const bool decoded = reader.read(&image) && !image.isNull();
    prefault.Finish();
    if (!decoded) FailToDecode(path, reader, file);
    if (CutOff(format, file)) throw FileError(path, kTruncatedPicture);
    if (TooLarge(image.size())) {
        throw FileError(path, TooLargeReason(image.width(), image.height()));
    }

    const bool inPlace = decodeTarget != nullptr && image.constBits() == decodeTarget &&
                         image.format() == QImage::Format_RGB32;
    if (!inPlace) pixels = PixelsOf(image);
    const int width = image.width();
    const int height = image.height();
    image = QImage();  // lets go of the buffer before the box takes it
    box.SetPicture(width, height, std::move(pixels), PictureBox::Layout::Argb32);
}
