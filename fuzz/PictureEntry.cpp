#include <sys/mman.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <new>
#include <optional>
#include <string>
#include <vector>

#include "convert/Convert.h"
#include "decode/LoadPicture.h"
#include "decode/OpenPicture.h"
#include "fuzz/FuzzEntries.h"
#include "platform/files/FileError.h"
#include "platform/picture/PictureBox.h"
#include "sample/SamplePicture.h"
#include "sample/SampleRows.h"
#include "screen/ScreenGeometry.h"

namespace {

// Pictures declaring more pixels than this are skipped: each input has to take milliseconds, and
// how the largest pictures load is the memory tests' business.
constexpr long long kMaxFuzzedPixels = 1 << 22;

// The bytes as a file that the decoders can open by name, living in memory only.
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

std::uint32_t HashOf(const std::uint8_t* data, std::size_t size) {
    std::uint32_t hash = 2166136261u;
    for (std::size_t i = 0; i < size; ++i) hash = (hash ^ data[i]) * 16777619u;
    return hash;
}

// The choices a conversion runs with, spread over every MODE, tone, stagger, fit and sampling
// by the bytes.
ConversionChoices ChoicesFor(std::uint32_t hash) {
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

// Whether the picture declares more pixels than a fuzzed input should decode; a refused header
// is no failure.
bool DeclaresHugePicture(const std::string& path) {
    try {
        const StoredPicture picture = OpenPicture(path, Fallback::kNone)->Picture();
        return static_cast<long long>(picture.width) * picture.height > kMaxFuzzedPixels;
    } catch (const FileError&) {
        return false;
    }
}

// Takes the rows a source hands over, all of them or every seventh, and stops the process when a
// row comes that was not asked for, or twice, or one asked for never comes.
class RowCheck : public RowConsumer {
public:
    RowCheck(const StoredPicture& picture, bool everyRow) : taken_(picture.height, false) {
        for (int row = 0; row < picture.height; row += everyRow ? 1 : 7) rows_.push_back(row);
        width_ = picture.width;
    }
    const std::vector<int>& NeededRows() const override { return rows_; }
    void TakeRow(int row, const std::uint32_t* pixels) override {
        if (row < 0 || row >= static_cast<int>(taken_.size()) || taken_[row]) std::abort();
        if (!std::binary_search(rows_.begin(), rows_.end(), row)) std::abort();
        taken_[row] = true;
        checksum_ += pixels[0] + pixels[width_ - 1];  // every pixel handed over can be read
    }
    void ExpectAll() const {
        for (const int row : rows_) {
            if (!taken_[row]) std::abort();
        }
    }

private:
    std::vector<int> rows_;
    std::vector<bool> taken_;
    int width_ = 0;
    std::uint32_t checksum_ = 0;
};

}  // namespace

void RunPictureInput(const std::uint8_t* data, std::size_t size) {
    const MemoryFile file(data, size);
    if (DeclaresHugePicture(file.Path())) return;
    const std::uint32_t hash = HashOf(data, size);
    // Seven inputs in eight go through the decoders alone, which keeps the fuzzer on what reads
    // the bytes: the window's and the converter's sampling and the conversion, set up afresh for
    // every input, cost ten times as much as decoding a small picture.
    if (hash % 8 != 0) {
        try {
            const std::unique_ptr<RowSource> rows = OpenPicture(file.Path(), Fallback::kNone);
            RowCheck check(rows->Picture(), hash % 3 != 0);
            rows->Feed(check);
            check.ExpectAll();
        } catch (const FileError&) {
        }
        return;
    }
    const ConversionChoices choices = ChoicesFor(hash);
    // The window's way: the picture box filled from the rows, then sampled.
    PictureBox source;
    bool loaded = false;
    try {
        LoadPicture(file.Path(), source, NewPixelBuffer, Fallback::kNone);
        loaded = true;
    } catch (const FileError&) {
        // A refusal must leave the box as it was.
        if (source.Width() != 0 || source.Height() != 0) std::abort();
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

    // The converter's way: the rows sampled as they decode, only those the grid needs. It must
    // take what the window shows, refuse what the window refuses, and give the same samples.
    try {
        const std::unique_ptr<RowSource> rows = OpenPicture(file.Path(), Fallback::kNone);
        const Samples streamed = SampleRows(*rows, choices.fit, choices.sampling);
        if (!loaded || streamed != *samples) std::abort();
    } catch (const FileError&) {
        if (loaded) std::abort();
    }
}
