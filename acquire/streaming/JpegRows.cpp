#include "acquire/streaming/JpegRows.h"

#include <exception>
#include <initializer_list>
#include <system_error>
#include <thread>

#include "acquire/PictureReasons.h"
#include "acquire/streaming/ExifOrientation.h"
#include "acquire/streaming/JpegDecoder.h"
#include "platform/files/FileError.h"
#include "platform/files/ReadOnlyFile.h"

namespace {

// Below this many pixels a second thread costs more than it saves.
constexpr long long kParallelPixels = 1 << 21;
// The share of the needed rows that the top band takes. The bottom band's decoder must still
// read through the top band's data, which costs it about 60 % of decoding it: bands of 70 % and
// 30 % finish together.
constexpr double kTopShare = 0.7;

class JpegRows : public RowSource {
public:
    JpegRows(const std::string& path, const ReadOnlyFile& file) : path_(path), decoder_(file) {}

    // Reads the header; false for a file that the full decoder should have.
    bool ReadHeader() {
        if (!decoder_.ReadHeader()) return false;
        const jpeg_decompress_struct& info = decoder_.Info();
        const bool colour = info.num_components == 3 && (info.jpeg_color_space == JCS_YCbCr ||
                                                         info.jpeg_color_space == JCS_RGB);
        const bool grey = info.num_components == 1 && info.jpeg_color_space == JCS_GRAYSCALE;
        if (!colour && !grey) return false;
        picture_.width = static_cast<int>(info.image_width);
        picture_.height = static_cast<int>(info.image_height);
        picture_.orientation = ExifOrientation(decoder_.App1Data());
        return true;
    }

    const StoredPicture& Picture() const override { return picture_; }

    void Feed(RowConsumer& consumer) override {
        const std::vector<int>& rows = consumer.NeededRows();
        if (Parallel(consumer)) {
            const auto top =
                static_cast<std::ptrdiff_t>(static_cast<double>(rows.size()) * kTopShare);
            // The second decoder reads through a file of its own, so that nothing is shared
            // between the threads but the consumer.
            ReadOnlyFile file;
            JpegDecoder bottom(file);
            if (file.Open(path_) == ReadOnlyFile::Refusal::kNone && bottom.ReadHeader() &&
                SameHeader(bottom) && FeedTwoBands(rows, top, bottom, consumer)) {
                Check({&decoder_, &bottom});
                return;
            }
        }
        decoder_.Decode(rows, consumer, true);
        Check({&decoder_});
    }

private:
    // Two decoders side by side for a large baseline picture. (A progressive picture's data
    // all goes into one buffer before the first row comes out, which a second decoder would
    // double.)
    bool Parallel(const RowConsumer& consumer) const {
        return consumer.TakesRowsInParallel() && !decoder_.MultipleScans() &&
               static_cast<long long>(picture_.width) * picture_.height >= kParallelPixels &&
               std::thread::hardware_concurrency() > 1;
    }

    // The top band on a thread of its own, the bottom band, to the end of the data, here; false
    // when no thread could be started, having decoded nothing.
    bool FeedTwoBands(const std::vector<int>& rows, std::ptrdiff_t top, JpegDecoder& bottom,
                      RowConsumer& consumer) {
        const std::span<const int> all(rows);
        std::exception_ptr failure;
        std::jthread worker;
        try {
            worker = std::jthread([&] {
                try {
                    decoder_.Decode(all.first(static_cast<std::size_t>(top)), consumer, false);
                } catch (...) {
                    failure = std::current_exception();
                }
            });
        } catch (const std::system_error&) {
            return false;
        }
        bottom.Decode(all.subspan(static_cast<std::size_t>(top)), consumer, true);
        worker.join();
        if (failure) std::rethrow_exception(failure);
        return true;
    }

    // The file has not been swapped for another since the first decoder read it.
    bool SameHeader(const JpegDecoder& other) const {
        const jpeg_decompress_struct& a = decoder_.Info();
        const jpeg_decompress_struct& b = other.Info();
        return a.image_width == b.image_width && a.image_height == b.image_height &&
               a.num_components == b.num_components && !other.MultipleScans();
    }

    // A cut-off file first, whichever decoder met it: the other may have met made-up data.
    void Check(std::initializer_list<const JpegDecoder*> decoders) const {
        for (const JpegDecoder* decoder : decoders) {
            if (decoder->RanOut()) throw FileError(path_, kTruncatedPicture);
        }
        for (const JpegDecoder* decoder : decoders) {
            if (decoder->OutOfMemory()) {
                throw FileError(path_, NoMemoryReason(picture_.width, picture_.height));
            }
            if (decoder->Damaged()) throw FileError(path_, kDamagedPicture);
        }
    }

    std::string path_;
    JpegDecoder decoder_;
    StoredPicture picture_;
};

}  // namespace

std::unique_ptr<RowSource> OpenJpegRows(const std::string& path, const ReadOnlyFile& file) {
    auto rows = std::make_unique<JpegRows>(path, file);
    if (!rows->ReadHeader()) return nullptr;
    const StoredPicture& picture = rows->Picture();
    if (picture.width > kMaxPictureSide || picture.height > kMaxPictureSide) {
        throw FileError(path, TooLargeReason(picture.width, picture.height));
    }
    return rows;
}
