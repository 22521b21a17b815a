// quillix-picture-helper: decodes, with Qt's image readers, a picture in a format that has no row
// source of its own (see decode/HelperProtocol.h and decode/HelperRows.h), in a process of its
// own so that a decoder that crashes or spins cannot take the program with it.
#include <sys/resource.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QImage>
#include <QImageIOHandler>
#include <QImageReader>
#include <algorithm>
#include <cstdint>
#include <cstring>
#include <new>
#include <string>
#include <vector>

#include "acquire/PictureFile.h"
#include "decode/HelperProtocol.h"
#include "decode/PictureReasons.h"

namespace {

// Enough for the largest picture allowed at 8 bytes a pixel, in the megabytes Qt counts in.
constexpr int kAllocationLimitMb =
    static_cast<int>(std::int64_t{kMaxPictureSide} * kMaxPictureSide * 8 / (1024 * 1024));
constexpr int kBandRows = 16;

void LimitProcessorTime(rlim_t seconds) {
    const rlimit limit{seconds, static_cast<rlim_t>(kHelperMostSeconds) + 1};
    setrlimit(RLIMIT_CPU, &limit);
}

void WriteAll(const void* data, std::size_t count) {
    const auto* bytes = static_cast<const char*>(data);
    while (count > 0) {
        const ssize_t written = write(STDOUT_FILENO, bytes, count);
        if (written <= 0) _exit(1);  // the program stopped listening
        bytes += written;
        count -= static_cast<std::size_t>(written);
    }
}

[[noreturn]] void Answer(HelperOutcome outcome, int width = 0, int height = 0) {
    HelperAnswer answer;
    answer.outcome = outcome;
    answer.width = width;
    answer.height = height;
    WriteAll(&answer, sizeof answer);
    _exit(0);
}

// The EXIF orientation that Qt's transformation stands for (the inverse of Qt's own mapping).
int Orientation(QImageIOHandler::Transformations transformation) {
    using T = QImageIOHandler;
    switch (static_cast<int>(transformation)) {
        case T::TransformationMirror:
            return 2;
        case T::TransformationRotate180:
            return 3;
        case T::TransformationFlip:
            return 4;
        case T::TransformationFlipAndRotate90:
            return 5;
        case T::TransformationRotate90:
            return 6;
        case T::TransformationMirrorAndRotate90:
            return 7;
        case T::TransformationRotate270:
            return 8;
        default:
            return 1;
    }
}

// The reads that show a cut-off file. BMP and PNG decoders ask for exactly the bytes they need,
// so any short read means the file ended early; the others read in blocks, which a small file
// cuts short anyway, so only asking again after the end counts.
bool RanOutOfFile(const QByteArray& format, const PictureFile& file) {
    if (format == "bmp" || format == "png") return file.ShortRead();
    return file.ReadPastEnd();
}

[[noreturn]] void FailToDecode(const QImageReader& reader, const PictureFile& file) {
    if (reader.error() == QImageReader::UnsupportedFormatError) Answer(HelperOutcome::kNotAPicture);
    if (RanOutOfFile(reader.format(), file)) Answer(HelperOutcome::kTruncated);
    Answer(HelperOutcome::kDamaged);
}

// Sends the picture's rows as the box shows them: colours drawn over black, 0xAARRGGBB.
void SendRows(const QImage& image) {
    const QImage::Format target =
        image.hasAlphaChannel() ? QImage::Format_ARGB32_Premultiplied : QImage::Format_RGB32;
    for (int y = 0; y < image.height(); y += kBandRows) {
        const int rows = std::min(kBandRows, image.height() - y);
        const QImage band = image.copy(0, y, image.width(), rows).convertToFormat(target);
        if (band.isNull()) throw std::bad_alloc();
        for (int r = 0; r < rows; ++r) {
            WriteAll(band.constScanLine(r), static_cast<std::size_t>(image.width()) * 4);
        }
    }
}

void Decode() {
    PictureFile file;
    file.Open("/proc/self/fd/" + std::to_string(kHelperPictureFd));
    QImageReader reader(&file);
    // The orientation goes to the program, which turns the picture as it places the rows.
    reader.setAutoTransform(false);
    if (!reader.canRead()) FailToDecode(reader, file);
    // Telling the format apart peeks further than a small file may reach: only what the chosen
    // decoder reads counts.
    file.ForgetShortReads();
    const QSize declared = reader.size();
    if (declared.isValid() && TooLarge(declared.width(), declared.height())) {
        Answer(HelperOutcome::kTooLarge, declared.width(), declared.height());
    }
    // The budget grows with the declared size, or where a reader cannot tell it before decoding,
    // with the file's (a picture's pixels come out of its bytes).
    const long long pixels =
        declared.isValid() ? static_cast<long long>(declared.width()) * declared.height() : 0;
    const long long work = std::max<long long>(pixels, file.size());
    LimitProcessorTime(static_cast<rlim_t>(std::min<long long>(
        kHelperMostSeconds, kHelperBaseSeconds + work / kHelperPixelsPerSecond)));
    const int orientation = Orientation(reader.transformation());
    QImage image;
    if (!reader.read(&image) || image.isNull()) FailToDecode(reader, file);
    if (reader.format() == "bmp" && file.ShortRead()) Answer(HelperOutcome::kTruncated);
    if (TooLarge(image.width(), image.height())) {
        Answer(HelperOutcome::kTooLarge, image.width(), image.height());
    }
    HelperAnswer answer;
    answer.outcome = HelperOutcome::kPicture;
    answer.width = image.width();
    answer.height = image.height();
    answer.orientation = orientation;
    WriteAll(&answer, sizeof answer);
    SendRows(image);
}

}  // namespace

int main(int argc, char** argv) {
    // The budget starts before Qt does; it grows once the picture's size is known.
    const rlimit noCore{0, 0};
    setrlimit(RLIMIT_CORE, &noCore);
    LimitProcessorTime(kHelperBaseSeconds);
    QCoreApplication app(argc, argv);  // for the image format plugins
    if (QImageReader::allocationLimit() < kAllocationLimitMb) {
        QImageReader::setAllocationLimit(kAllocationLimitMb);
    }
    try {
        Decode();
    } catch (const std::bad_alloc&) {
        Answer(HelperOutcome::kNoMemory);
    } catch (const std::exception&) {
        Answer(HelperOutcome::kDamaged);
    }
    // Leave without running the plugins' destructors: the answer is complete.
    _exit(0);
}
