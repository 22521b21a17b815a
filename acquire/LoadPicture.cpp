#include "acquire/LoadPicture.h"

#include <QImageReader>
#include <QString>
#include <cstdint>
#include <exception>
#include <system_error>
#include <thread>
#include <vector>

#include "acquire/ColourValues.h"
#include "acquire/PictureFile.h"
#include "acquire/PictureHeader.h"
#include "platform/AtomicFile.h"
#include "platform/PictureBox.h"
#include "platform/PixelMemory.h"

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

// Up to this size a picture is decoded into a buffer of its own and then copied into the box's,
// which lets a second core prepare both while the decoder runs; beyond it, memory counts more.
constexpr std::size_t kTwoBuffersUpTo = std::size_t{512} << 20;

// The work a second core does while a picture decodes: taking on the decoder's memory ahead of
// it, then making the box's buffer. Finish (or the destructor, when decoding fails) waits for it.
class PreparedBuffers {
public:
    PreparedBuffers() = default;
    PreparedBuffers(const PreparedBuffers&) = delete;
    PreparedBuffers& operator=(const PreparedBuffers&) = delete;

    void Start(void* decodeTarget, std::size_t bytes, std::size_t count,
               std::vector<std::uint32_t>& pixels) {
        try {
            worker_ = std::jthread([this, decodeTarget, bytes, count, &pixels] {
                try {
                    Prefault(decodeTarget, bytes);
                    pixels = NewPixelBuffer(count);
                } catch (...) {
                    failure_ = std::current_exception();
                }
            });
        } catch (const std::system_error&) {
            // No second thread: the buffer is made after decoding instead.
        }
    }

    void Finish() {
        if (worker_.joinable()) worker_.join();
        if (failure_) std::rethrow_exception(failure_);
    }

private:
    std::exception_ptr failure_;
    std::jthread worker_;  // last, so that it is joined before failure_ goes
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
    const QByteArray head = file.Start(64);
    const QByteArray signature = FormatFromSignature(head);
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
        throw FileError(path, "picture too large (" + SizeText(declared) + ")");
    }
    const QByteArray format = reader.format();

    std::vector<std::uint32_t> pixels;
    QImage image;
    const uchar* inPlace = nullptr;
    PreparedBuffers prepared;
    if (reader.size().isValid() && reader.imageFormat() == QImage::Format_RGB32 &&
        reader.transformation() == QImageIOHandler::TransformationNone) {
        const auto count = static_cast<std::size_t>(declared.width()) * declared.height();
        if (count * sizeof(std::uint32_t) <= kTwoBuffersUpTo) {
            // Most photographs come here. While the decoder works, a second core takes on the
            // memory it is about to fill and makes the box's buffer.
            image = QImage(declared, QImage::Format_RGB32);
            if (!image.isNull()) prepared.Start(image.bits(), image.sizeInBytes(), count, pixels);
        } else {
            // Larger pictures decode straight into the box's buffer, which needs half the memory.
            pixels = NewPixelBuffer(count);
            image = QImage(reinterpret_cast<uchar*>(pixels.data()), declared.width(),
                           declared.height(), declared.width() * 4, QImage::Format_RGB32);
            inPlace = image.constBits();
        }
    }
    if (!reader.read(&image) || image.isNull()) FailToDecode(path, reader, file);
    if (CutOff(format, file)) throw FileError(path, kTruncated);
    if (TooLarge(image.size())) {
        throw FileError(path, "picture too large (" + SizeText(image.size()) + ")");
    }
    prepared.Finish();

    const int width = image.width();
    const int height = image.height();
    const auto count = static_cast<std::size_t>(width) * height;
    if (inPlace != nullptr && image.constBits() == inPlace &&
        image.format() == QImage::Format_RGB32) {
        image = QImage();
        ToColourValuesInPlace(pixels.data(), pixels.size());
    } else if (inPlace == nullptr && pixels.size() == count) {
        ColourValuesInto(image, pixels.data());
    } else {
        std::vector<std::uint32_t>().swap(pixels);  // the unused buffer goes before the copy
        pixels = ColourValuesOf(image);
    }
    box.SetPicture(width, height, std::move(pixels));
}
