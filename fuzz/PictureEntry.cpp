#include <sys/mman.h>
#include <unistd.h>

#include <QBuffer>
#include <QByteArray>
#include <QImageReader>
#include <cstdlib>
#include <new>
#include <optional>
#include <string>
#include <vector>

#include "acquire/LoadPicture.h"
#include "acquire/PictureHeader.h"
#include "acquire/streaming/StreamSamples.h"
#include "convert/Convert.h"
#include "fuzz/FuzzEntries.h"
#include "platform/files/FileError.h"
#include "platform/picture/PictureBox.h"
#include "sample/SamplePicture.h"
#include "screen/ScreenGeometry.h"

namespace {

// Pictures declaring more pixels than this are skipped: each input has to take milliseconds, and
// how the largest pictures load is the memory tests' business.
constexpr long long kMaxFuzzedPixels = 1 << 22;

bool DeclaresHugePicture(const std::uint8_t* data, std::size_t size) {
    QByteArray bytes =
        QByteArray::fromRawData(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer, FormatFromSignature(bytes.left(64)));
    QSize declared = reader.size();
    if (!declared.isValid()) declared = BmpDeclaredSize(bytes.left(64));
    return declared.isValid() &&
           static_cast<long long>(declared.width()) * declared.height() > kMaxFuzzedPixels;
}

// The bytes as a file that LoadPicture can open by name, living in memory only.
class MemoryFile {
public:
    MemoryFile(const std::uint8_t* data, std::size_t size)
        : fd_(memfd_create("quillix-fuzz", MFD_CLOEXEC)) {
        if (fd_ < 0) std::abort();
        for (std::size_t done = 0; done < size;) {
            const ssize_t written = write(fd_, data + done, size - done);
            if (written <= 0) std::abort();
            done += static_cast<std::size_t>(written);
        }
    }
    ~MemoryFile() { close(fd_); }
    MemoryFile(const MemoryFile&) = delete;
    MemoryFile& operator=(const MemoryFile&) = delete;

    std::string Path() const { return "/proc/self/fd/" + std::to_string(fd_); }

private:
    int fd_;
};

// The choices a conversion runs with, spread over every MODE, tone, stagger, fit and sampling
// by the bytes.
ConversionChoices ChoicesFor(const std::uint8_t* data, std::size_t size) {
    std::uint32_t hash = 2166136261u;
    for (std::size_t i = 0; i < size; ++i) hash = (hash ^ data[i]) * 16777619u;
    static constexpr ScreenMode kModes[] = {ScreenMode::Mode0, ScreenMode::Mode1, ScreenMode::Mode2,
                                            ScreenMode::Mode4, ScreenMode::Mode5};
    ConversionChoices choices;
    choices.screenMode = kModes[hash % 5];
    choices.halftone = static_cast<Halftone>(hash / 5 % 5);
    choices.stagger = hash / 25 % 2 != 0;
    choices.fit = static_cast<Fit>(hash / 50 % 3);
    choices.sampling = static_cast<Sampling>(hash / 150 % 2);
    return choices;
}

}  // namespace

void RunPictureInput(const std::uint8_t* data, std::size_t size) {
    if (DeclaresHugePicture(data, size)) return;
    const ConversionChoices choices = ChoicesFor(data, size);
    const MemoryFile file(data, size);
    PictureBox source;
    bool loaded = false;
    try {
        LoadPicture(file.Path(), source);
        loaded = true;
    } catch (const FileError&) {
        // A refusal must leave the box as it was.
        if (source.Width() != 0 || source.Height() != 0) std::abort();
    } catch (const std::bad_alloc&) {
        return;
    }
    if (loaded && (source.Width() <= 0 || source.Height() <= 0)) std::abort();

    std::optional<Samples> samples;
    if (loaded) {
        samples = SamplePicture(source, choices.fit, choices.sampling);
        const EncodedScreen screen = Convert(*samples, choices);
        if (screen.bytes.size() !=
            static_cast<std::size_t>(GeometryOf(choices.screenMode).screenBytes))
            std::abort();
    }

    // The converter samples JPEG and BMP pictures while they decode: a picture the window shows
    // it must take, and take the same samples from.
    try {
        const std::optional<Samples> streamed =
            StreamSamples(file.Path(), choices.fit, choices.sampling);
        if (streamed && samples && *streamed != *samples) std::abort();
    } catch (const FileError&) {
        if (loaded) std::abort();
    } catch (const std::bad_alloc&) {
    }
}
