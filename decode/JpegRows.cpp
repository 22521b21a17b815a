#include "decode/JpegRows.h"

#include "decode/ExifOrientation.h"
#include "decode/JpegDecoder.h"
#include "decode/PictureHeader.h"
#include "decode/PictureReasons.h"
#include "platform/files/FileError.h"
#include "platform/files/ReadOnlyFile.h"

namespace {

class JpegRows : public RowSource {
public:
    JpegRows(const std::string& path, const ReadOnlyFile& file) : path_(path), decoder_(file) {}

    // Reads the header; false for colours that the fallback decoder should have.
    bool ReadHeader() {
        if (!decoder_.ReadHeader()) {
            Check();
            throw FileError(path_, kDamagedPicture);  // tables only, no picture
        }
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
        decoder_.Decode(consumer.NeededRows(), consumer);
        Check();
    }

private:
    // A cut-off file first: what the decoder met after it is made-up data.
    void Check() const {
        using T = JpegDecoder::Trouble;
        if (decoder_.Met(T::kRanOut) || decoder_.Met(T::kEndedEarly)) {
            throw FileError(path_, kTruncatedPicture);
        }
        if (decoder_.Met(T::kTooManyScans)) throw FileError(path_, kTooManyScans);
        if (decoder_.Met(T::kOutOfMemory)) {
            throw FileError(path_, NoMemoryReason(picture_.width, picture_.height));
        }
        if (decoder_.MetAny()) throw FileError(path_, kDamagedPicture);
    }

    std::string path_;
    JpegDecoder decoder_;
    StoredPicture picture_;
};

}  // namespace

std::unique_ptr<RowSource> OpenJpegRows(const std::string& path, const ReadOnlyFile& file) {
    // libjpeg turns down sides above 65500 as a broken file: the frame header tells first.
    const PictureSize declared = JpegDeclaredSize(file);
    if (TooLarge(declared.width, declared.height)) {
        throw FileError(path, TooLargeReason(declared.width, declared.height));
    }
    auto rows = std::make_unique<JpegRows>(path, file);
    if (!rows->ReadHeader()) return nullptr;
    return rows;
}
