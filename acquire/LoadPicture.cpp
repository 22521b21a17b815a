#include "acquire/LoadPicture.h"

#include <QImageReader>
#include <QString>
#include <algorithm>
#include <cstdint>
#include <new>
#include <optional>
#include <system_error>
#include <thread>
#include <vector>

#include "acquire/DecoderWarnings.h"
#include "acquire/DeepPng.h"
#include "acquire/GifDataCheck.h"
#include "acquire/JpegDataCheck.h"
#include "acquire/Orientation.h"
#include "acquire/PictureFile.h"
#include "acquire/PictureHeader.h"
#include "acquire/PictureReasons.h"
#include "platform/files/FileError.h"
#include "platform/picture/PictureBox.h"

namespace {

// Enough for the largest picture allowed at 8 bytes a pixel (16 bits a channel), in the
// megabytes Qt counts in, for a decoder that does not decode into the box's memory.
constexpr int kAllocationLimitMb =
    static_cast<int>(std::int64_t{kMaxPictureSide} * kMaxPictureSide * 8 / (1024 * 1024));

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

std::string SizeText(const QSize& size) {
    return std::to_string(size.width()) + " x " + std::to_string(size.height());
}

bool TooLarge(const QSize& size) {
    return size.width() > kMaxPictureSide || size.height() > kMaxPictureSide;
}

// Qt's GIF decoder gives up, without saying why, on a picture of 16384 x 16384 pixels or more
// (a limit of its own, not the allocation limit), which within our limit is 16384 x 16384 only.
constexpr std::int64_t kGifDecoderPixels = std::int64_t{16384} * 16384;

bool TooLargeForGifDecoder(const QSize& size) {
    return std::int64_t{size.width()} * size.height() >= kGifDecoderPixels;
}

// The reads that show a cut-off file. BMP and PNG decoders ask for exactly the bytes they need,
// so any short read means the file ended early; JPEG and GIF decoders read in blocks, which a
// small file cuts short anyway, so only asking again after the end counts.
bool RanOutOfFile(const QByteArray& format, const PictureFile& file) {
    if (format == "bmp" || format == "png") return file.ShortRead();
    return file.ReadPastEnd();
}

std::string OutOfMemory(const QSize& size) {
    if (!size.isValid()) return "not enough memory to load this picture";
    return "not enough memory to load a " + SizeText(size) + " picture";
}

// Looks the coded data of a JPEG over for damage on a second core while Qt decodes it: Qt's
// decoder reads a bad code as zero without a word, and passes on only its first warning.
// A progressive JPEG is looked over afterwards instead: both decoders then hold every coded
// value of the picture, 3 bytes a pixel or so, and two at once would outweigh the picture.
class JpegCheck {
public:
    JpegCheck(const std::string& path, bool alongside) : path_(path) {
        if (!alongside) return;
        try {
            worker_ = std::jthread([this] { loss_ = Run(); });
            started_ = true;
        } catch (const std::system_error&) {
            // No second thread: the check runs afterwards.
        }
    }
    DecoderWarnings::Loss Result() {
        if (!started_) {
            loss_ = Run();
            started_ = true;
        }
        if (worker_.joinable()) worker_.join();
        return loss_;
    }

private:
    DecoderWarnings::Loss Run() const {
        try {
            PictureFile file;  // a handle of its own, for a thread of its own
            file.Open(path_);
            return JpegDataLoss([&file](qint64 at, qint64 count) { return file.Bytes(at, count); });
        } catch (const std::exception&) {
            return DecoderWarnings::Loss::kNone;  // the decoder's own reading will tell
        }
    }

    std::string path_;
    DecoderWarnings::Loss loss_ = DecoderWarnings::Loss::kNone;
    bool started_ = false;
    std::jthread worker_;  // joined when it goes
};

struct Attempt {
    const std::string& path;
    PictureFile& file;
    const DecoderWarnings& warnings;
    const PixelAllocator& allocate;
    QByteArray format;
    QSize declared;
    std::optional<JpegCheck> jpegCheck;
};

// Why a picture that decoded is not whole, or nullptr when it is. Qt's BMP, JPEG and GIF decoders
// report success for a picture they had to fill in themselves.
const char* LostPixels(Attempt& attempt) {
    const QByteArray& format = attempt.format;
    if (format == "bmp" || format == "jpeg" || format == "gif") {
        if (RanOutOfFile(format, attempt.file)) return kTruncatedPicture;
    }
    DecoderWarnings::Loss loss = attempt.warnings.PixelLoss();
    if (attempt.jpegCheck) loss = std::max(loss, attempt.jpegCheck->Result());
    if (format == "gif") {
        loss = GifDataLoss(
            [&attempt](qint64 at, qint64 count) { return attempt.file.Bytes(at, count); });
    }
    switch (loss) {
        case DecoderWarnings::Loss::kRanOutOfData:
            return kTruncatedPicture;
        case DecoderWarnings::Loss::kCorruptData:
            return kDamagedPicture;
        default:
            return nullptr;
    }
}

[[noreturn]] void FailToDecode(const Attempt& attempt, const QImageReader& reader) {
    const std::string& path = attempt.path;
    if (attempt.warnings.PixelLoss() == DecoderWarnings::Loss::kOutOfMemory) {
        throw FileError(path, OutOfMemory(attempt.declared));
    }
    if (reader.error() == QImageReader::UnsupportedFormatError) throw FileError(path, kNotAPicture);
    if (RanOutOfFile(attempt.format, attempt.file) ||
        attempt.warnings.PixelLoss() == DecoderWarnings::Loss::kRanOutOfData) {
        throw FileError(path, kTruncatedPicture);
    }
    if (reader.error() == QImageReader::DeviceError) {
        throw FileError(path, "cannot be read: " + reader.errorString().toStdString());
    }
    throw FileError(path, kDamagedPicture);
}

void Read(Attempt& attempt, QImageReader& reader, QImage& image) {
    if (!reader.read(&image) || image.isNull()) FailToDecode(attempt, reader);
    if (const char* lost = LostPixels(attempt)) {
        throw FileError(attempt.path, lost);
    }
}

// The size the file claims, known before decoding; invalid when it cannot be told.
QSize DeclaredSize(const QImageReader& reader, const PictureFile& file, const QByteArray& head) {
    if (reader.size().isValid()) return reader.size();
    if (head.startsWith("BM")) return BmpDeclaredSize(head);
    if (reader.format() == "jpeg") {
        return JpegFrameHeader([&file](qint64 at, qint64 count) { return file.Bytes(at, count); })
            .size;
    }
    return {};
}

bool IsRunLengthBmp(const QByteArray& head) {
    constexpr int kCompressionAt = 30;
    if (!head.startsWith("BM") || head.size() < kCompressionAt + 4) return false;
    const auto compression = static_cast<std::uint8_t>(head[kCompressionAt]);
    return compression == 1 || compression == 2;  // BI_RLE8, BI_RLE4
}

// A run-length BMP may skip pixels, which the decoder leaves as the memory was. Decoding twice,
// over memory filled first with one index and then with another, shows which: they differ.
PixelBuffer DecodeRunLengthBmp(Attempt& attempt, QImageReader& reader, QImage::Format layout) {
    const QSize size = attempt.declared;
    DecodeSpace space(attempt.allocate, size.width(), size.height(), layout, 2);
    QImage first = space.Copy(0);
    first.fill(0);
    Read(attempt, reader, first);
    attempt.file.seek(0);
    QImageReader again(&attempt.file, "bmp");
    QImage second = space.Copy(1);
    second.fill(0xFF);
    Read(attempt, again, second);
    if (first.size() != size || second.size() != size ||
        first.constBits() != space.Copy(0).constBits()) {
        throw FileError(attempt.path, kDamagedPicture);
    }
    const auto width = static_cast<std::size_t>(size.width());
    std::vector<bool> skipped(width * static_cast<std::size_t>(size.height()));
    for (int y = 0; y < size.height(); ++y) {
        const uchar* a = first.constScanLine(y);
        const uchar* b = second.constScanLine(y);
        for (std::size_t x = 0; x < width; ++x) skipped[y * width + x] = a[x] != b[x];
    }
    PixelBuffer pixels = space.Finish(first);
    constexpr std::uint32_t kOpaqueBlack = 0xFF000000;
    for (std::size_t i = 0; i < skipped.size(); ++i) {
        if (skipped[i]) pixels.get()[i] = kOpaqueBlack;
    }
    return pixels;
}

// Decodes straight into the memory the box will keep, in the decoder's own pixel layout, which
// is then converted where it lies. The picture's size is attempt.declared afterwards.
PixelBuffer DecodeInPlace(Attempt& attempt, QImageReader& reader, QImage::Format layout) {
    const QSize size = attempt.declared;
    DecodeSpace space(attempt.allocate, size.width(), size.height(), layout);
    QImage image = space.Copy();
    const uchar* target = image.constBits();
    PrefaultAhead prefault;
    prefault.Start(image.bits(), static_cast<std::size_t>(image.sizeInBytes()));
    const bool decoded = reader.read(&image) && !image.isNull();
    prefault.Finish();
    if (!decoded) FailToDecode(attempt, reader);
    if (const char* lost = LostPixels(attempt)) {
        throw FileError(attempt.path, lost);
    }
    if (image.constBits() != target) {
        // The decoder made an image of its own after all, perhaps of another size.
        if (TooLarge(image.size())) {
            throw FileError(attempt.path, "picture too large (" + SizeText(image.size()) + ")");
        }
        attempt.declared = image.size();
        return TakeImage(std::move(image), attempt.allocate);
    }
    return space.Finish(image);
}

// A PNG of 16 bits a channel, straight into the box's layout; nothing when it is of a kind
// that only Qt's decoder reads.
std::optional<PixelBuffer> DecodeDeep(Attempt& attempt) {
    DecoderWarnings::Loss loss = DecoderWarnings::Loss::kNone;
    const qint64 start = attempt.file.pos();
    attempt.file.seek(0);
    std::optional<PixelBuffer> pixels = DecodeDeepPng(attempt.file, attempt.allocate, loss);
    if (!pixels) {
        attempt.file.seek(start);
        return std::nullopt;
    }
    if (loss != DecoderWarnings::Loss::kNone) {
        throw FileError(attempt.path, RanOutOfFile(attempt.format, attempt.file) ? kTruncatedPicture
                                                                                 : kDamagedPicture);
    }
    return pixels;
}

struct Picture {
    PixelBuffer pixels;
    int width = 0;
    int height = 0;
};

Picture Decode(Attempt& attempt, const QByteArray& head, const QByteArray& signature) {
    std::optional<QImageReader> reader;
    reader.emplace(&attempt.file, signature);
    // A known signature goes straight to its decoder; asking around would load every plugin.
    if (!signature.isEmpty()) reader->setAutoDetectImageFormat(false);
    // The orientation is applied afterwards in the box's memory: Qt would make a turned copy.
    reader->setAutoTransform(false);
    if (!reader->canRead()) FailToDecode(attempt, *reader);
    // Telling the format apart peeks further than a small file may reach: only what the chosen
    // decoder reads counts.
    attempt.file.ForgetShortReads();
    attempt.format = reader->format();
    attempt.declared = DeclaredSize(*reader, attempt.file, head);
    if (attempt.declared.isValid() && TooLarge(attempt.declared)) {
        throw FileError(attempt.path, "picture too large (" + SizeText(attempt.declared) + ")");
    }
    if (attempt.format == "gif" && attempt.declared.isValid() &&
        TooLargeForGifDecoder(attempt.declared)) {
        throw FileError(attempt.path, "picture too large for the GIF decoder (" +
                                          SizeText(attempt.declared) +
                                          "; it reads fewer than 16384 x 16384 pixels)");
    }
    const QImageIOHandler::Transformations transformation = reader->transformation();
    const QImage::Format layout = reader->imageFormat();
    // The GIF decoder reads the whole file to tell the size.
    if (attempt.format == "gif") attempt.file.ForgetShortReads();
    if (attempt.format == "jpeg") {
        const bool progressive = JpegFrameHeader([&attempt](qint64 at, qint64 count) {
                                     return attempt.file.Bytes(at, count);
                                 }).progressive;
        attempt.jpegCheck.emplace(attempt.path, !progressive);
    }

    Picture picture;
    if (attempt.format == "png" && attempt.declared.isValid() &&
        (layout == QImage::Format_RGBA64 || layout == QImage::Format_RGBX64)) {
        if (auto pixels = DecodeDeep(attempt)) {
            picture = {std::move(*pixels), attempt.declared.width(), attempt.declared.height()};
            Orient(picture.pixels, picture.width, picture.height, transformation);
            return picture;
        }
    }
    if (reader->size().isValid() && layout != QImage::Format_Invalid) {
        picture.pixels = IsRunLengthBmp(head) && layout == QImage::Format_Indexed8
                             ? DecodeRunLengthBmp(attempt, *reader, layout)
                             : DecodeInPlace(attempt, *reader, layout);
        picture.width = attempt.declared.width();
        picture.height = attempt.declared.height();
    } else {
        QImage image;
        Read(attempt, *reader, image);
        if (TooLarge(image.size())) {
            throw FileError(attempt.path, "picture too large (" + SizeText(image.size()) + ")");
        }
        attempt.declared = image.size();
        picture.width = image.width();
        picture.height = image.height();
        // The decoder may keep a share of its image: once it has gone, the image is ours alone.
        reader.reset();
        picture.pixels = TakeImage(std::move(image), attempt.allocate);
    }
    Orient(picture.pixels, picture.width, picture.height, transformation);
    return picture;
}

}  // namespace

void LoadPicture(const std::string& path, PictureBox& box, const PixelAllocator& allocate) {
    if (QImageReader::allocationLimit() < kAllocationLimitMb) {
        QImageReader::setAllocationLimit(kAllocationLimitMb);
    }
    PictureFile file;
    file.Open(path);

    DecoderWarnings warnings;
    // The format comes from the content alone, so a picture with the wrong extension loads too.
    const QByteArray head = file.Start(64);
    QByteArray signature = FormatFromSignature(head);
    if (signature.isEmpty()) signature = FormatFromFooter(file.End(kFooterSize));
    Attempt attempt{path, file, warnings, allocate, {}, {}, {}};
    Picture picture;
    try {
        picture = Decode(attempt, head, signature);
    } catch (const std::bad_alloc&) {
        throw FileError(path, OutOfMemory(attempt.declared));
    }
    box.SetPicture(picture.width, picture.height, std::move(picture.pixels),
                   PictureBox::Layout::Argb32);
}
