#include <sys/mman.h>
#include <unistd.h>

#include <QBuffer>
#include <QByteArray>
#include <QImageReader>
#include <cstdlib>
#include <new>
#include <string>
#include <vector>

#include "acquire/LoadPicture.h"
#include "acquire/PictureHeader.h"
#include "acquire/SampleCapture.h"
#include "acquire/streaming/StreamSamples.h"
#include "convert/ConversionSettings.h"
#include "convert/Module1.h"
#include "fuzz/FuzzEntries.h"
#include "platform/files/FileError.h"
#include "platform/picture/PictureBox.h"
#include "screen/EncodeScreen.h"
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

// The settings a conversion runs with, spread over every MODE, tone, stagger, fit and sampling
// by the bytes.
ConversionSettingsFields SettingsFor(const std::uint8_t* data, std::size_t size) {
    std::uint32_t hash = 2166136261u;
    for (std::size_t i = 0; i < size; ++i) hash = (hash ^ data[i]) * 16777619u;
    static constexpr std::int16_t kModes[] = {0, 1, 2, 4, 5};
    ConversionSettingsFields settings = kStartSettings;
    settings.ScreenMode = kModes[hash % 5];
    settings.ToneStyle = static_cast<std::int16_t>(hash / 5 % 5);
    settings.StaggerOn = static_cast<std::int16_t>(hash / 25 % 2);
    settings.Fit = static_cast<std::int16_t>(hash / 50 % 3);
    settings.Sampling = static_cast<std::int16_t>(hash / 150 % 2);
    return settings;
}

// The samples a sampling pass drew into the preview, before a conversion draws over them.
std::vector<std::uint32_t> SamplesIn(const PictureBox& preview) {
    std::vector<std::uint32_t> samples;
    for (int y = 0; y < kPreviewHeight; ++y)
        samples.insert(samples.end(), preview.Row(y), preview.Row(y) + kPreviewWidth);
    return samples;
}

class CountingSink : public ScreenSink {
public:
    void Put(const std::uint8_t*, std::size_t count) override { bytes += count; }
    std::size_t bytes = 0;
};

}  // namespace

void RunPictureInput(const std::uint8_t* data, std::size_t size) {
    if (DeclaresHugePicture(data, size)) return;
    ConversionSettings = SettingsFor(data, size);
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

    PictureBox preview(kPreviewWidth, kPreviewHeight);
    std::vector<std::uint32_t> samples;
    if (loaded) {
        CaptureSampleGrid(source, preview);
        samples = SamplesIn(preview);
        Module1::InitTables();
        Module1::BuildThresholdTable();
        CountingSink sink;
        EncodeScreen(sink, preview);
        if (sink.bytes !=
            static_cast<std::size_t>(GeometryOf(ConversionSettings.ScreenMode).screenBytes)) {
            std::abort();
        }
    }

    // The converter samples JPEG and BMP pictures while they decode: a picture the window shows
    // it must take, and take the same samples from.
    PictureBox streamed(kPreviewWidth, kPreviewHeight);
    try {
        if (StreamSamples(file.Path(), static_cast<Fit>(ConversionSettings.Fit), streamed,
                          static_cast<SamplingChoices>(ConversionSettings.Sampling)) &&
            loaded && SamplesIn(streamed) != samples) {
            std::abort();
        }
    } catch (const FileError&) {
        if (loaded) std::abort();
    } catch (const std::bad_alloc&) {
    }
}
