#include "acquire/streaming/JpegRows.h"

// clang-format off
#include <cstdio>  // jpeglib.h needs FILE
#include <jpeglib.h>
#include <jerror.h>
// clang-format on

#include <csetjmp>
#include <cstdint>
#include <vector>

#include "acquire/LoadPicture.h"
#include "acquire/PictureReasons.h"
#include "acquire/streaming/ExifOrientation.h"
#include "platform/files/FileError.h"
#include "platform/files/ReadOnlyFile.h"

namespace {

constexpr std::size_t kChunk = 1 << 16;
constexpr JOCTET kFakeEnd[] = {0xFF, JPEG_EOI};

// Feeds libjpeg from the file; at the end of the file it notes that the picture ran out and
// hands over an end-of-image marker, as libjpeg asks of a source that must not fail.
struct FileSource {
    jpeg_source_mgr manager{};  // first, so that libjpeg's pointer is also this one's
    const ReadOnlyFile* file = nullptr;
    std::int64_t offset = 0;
    std::vector<JOCTET> buffer = std::vector<JOCTET>(kChunk);
    bool ranOut = false;
};

void InitSource(j_decompress_ptr) {}
void TermSource(j_decompress_ptr) {}

boolean FillInput(j_decompress_ptr info) {
    auto* source = reinterpret_cast<FileSource*>(info->src);
    const std::int64_t got =
        source->file->ReadAt(reinterpret_cast<char*>(source->buffer.data()),
                             static_cast<std::int64_t>(kChunk), source->offset);
    if (got <= 0) {
        // A read error leaves the picture as cut off as a short file does.
        source->ranOut = true;
        source->manager.next_input_byte = kFakeEnd;
        source->manager.bytes_in_buffer = sizeof kFakeEnd;
        return TRUE;
    }
    source->offset += got;
    source->manager.next_input_byte = source->buffer.data();
    source->manager.bytes_in_buffer = static_cast<std::size_t>(got);
    return TRUE;
}

void SkipInput(j_decompress_ptr info, long count) {
    auto* source = reinterpret_cast<FileSource*>(info->src);
    if (count <= 0) return;
    const auto skip = static_cast<std::size_t>(count);
    if (skip <= source->manager.bytes_in_buffer) {
        source->manager.next_input_byte += skip;
        source->manager.bytes_in_buffer -= skip;
        return;
    }
    source->offset += static_cast<std::int64_t>(skip - source->manager.bytes_in_buffer);
    source->manager.bytes_in_buffer = 0;
    FillInput(info);
}

// libjpeg leaves through error_exit by jumping back to the decoder's call; warnings that mean
// made-up pixels mark the picture as damaged, harmless ones (stray bytes between segments, an
// unknown JFIF version) are let be.
struct ErrorJump {
    jpeg_error_mgr manager{};  // first, as with the source
    std::jmp_buf jump{};
    bool damaged = false;
};

bool InventsPixels(int warning) {
    switch (warning) {
        case JWRN_HIT_MARKER:
        case JWRN_HUFF_BAD_CODE:
        case JWRN_ARITH_BAD_CODE:
        case JWRN_MUST_RESYNC:
        case JWRN_BOGUS_PROGRESSION:
        case JWRN_JPEG_EOF:
            return true;
        default:
            return false;
    }
}

[[noreturn]] void ErrorExit(j_common_ptr info) {
    std::longjmp(reinterpret_cast<ErrorJump*>(info->err)->jump, 1);
}

void EmitMessage(j_common_ptr info, int level) {
    auto* errors = reinterpret_cast<ErrorJump*>(info->err);
    if (level < 0 && InventsPixels(errors->manager.msg_code)) errors->damaged = true;
}

void OutputMessage(j_common_ptr) {}

class JpegRows : public RowSource {
public:
    JpegRows(const std::string& path, const ReadOnlyFile& file) : path_(path) {
        info_.err = jpeg_std_error(&errors_.manager);
        errors_.manager.error_exit = ErrorExit;
        errors_.manager.emit_message = EmitMessage;
        errors_.manager.output_message = OutputMessage;
        source_.file = &file;
        source_.manager.init_source = InitSource;
        source_.manager.fill_input_buffer = FillInput;
        source_.manager.skip_input_data = SkipInput;
        source_.manager.resync_to_restart = jpeg_resync_to_restart;
        source_.manager.term_source = TermSource;
    }
    ~JpegRows() override {
        if (created_) jpeg_destroy_decompress(&info_);
    }
    JpegRows(const JpegRows&) = delete;
    JpegRows& operator=(const JpegRows&) = delete;

    // Reads the header; false for a file that the full decoder should have.
    bool ReadHeader() {
        if (setjmp(errors_.jump)) return false;
        jpeg_create_decompress(&info_);
        created_ = true;
        info_.src = &source_.manager;
        jpeg_save_markers(&info_, JPEG_APP0 + 1, 0xFFFF);
        if (jpeg_read_header(&info_, TRUE) != JPEG_HEADER_OK) return false;
        if (source_.ranOut || errors_.damaged) return false;
        const bool colour = info_.num_components == 3 && (info_.jpeg_color_space == JCS_YCbCr ||
                                                          info_.jpeg_color_space == JCS_RGB);
        const bool grey = info_.num_components == 1 && info_.jpeg_color_space == JCS_GRAYSCALE;
        if (!colour && !grey) return false;
        picture_.width = static_cast<int>(info_.image_width);
        picture_.height = static_cast<int>(info_.image_height);
        std::vector<std::uint8_t> exif;
        for (auto* marker = info_.marker_list; marker != nullptr; marker = marker->next) {
            if (marker->marker == JPEG_APP0 + 1) {
                exif.insert(exif.end(), marker->data, marker->data + marker->data_length);
            }
        }
        picture_.orientation = ExifOrientation(exif);
        return true;
    }

    const StoredPicture& Picture() const override { return picture_; }

    void Feed(RowConsumer& consumer) override {
        row_.resize(static_cast<std::size_t>(picture_.width));
        if (!Decode(consumer)) {
            if (source_.ranOut) throw FileError(path_, kTruncatedPicture);
            if (errors_.manager.msg_code == JERR_OUT_OF_MEMORY) {
                throw FileError(path_, NoMemoryReason(picture_.width, picture_.height));
            }
            throw FileError(path_, kDamagedPicture);
        }
        if (source_.ranOut) throw FileError(path_, kTruncatedPicture);
        if (errors_.damaged) throw FileError(path_, kDamagedPicture);
    }

private:
    // Hands over the needed rows and skips the others; false when libjpeg gave up. Nothing here
    // needs unwinding when libjpeg jumps back: the state lives in the members.
    bool Decode(RowConsumer& consumer) {
        if (setjmp(errors_.jump)) return false;
        // Qt's reader leaves the IDCT and the upsampling at libjpeg's defaults, as this does;
        // the four-byte pixels hold the same values as its RGB ones.
        info_.out_color_space = JCS_EXT_BGRX;
        jpeg_start_decompress(&info_);
        JSAMPROW target = reinterpret_cast<JSAMPROW>(row_.data());
        for (const int row : consumer.NeededRows()) {
            const auto wanted = static_cast<JDIMENSION>(row);
            if (wanted >= info_.output_height) break;
            if (wanted > info_.output_scanline) {
                jpeg_skip_scanlines(&info_, wanted - info_.output_scanline);
            }
            jpeg_read_scanlines(&info_, &target, 1);
            consumer.TakeRow(row, row_.data());
        }
        // Skipping to the bottom would leave the rest of the data unread, and with it any
        // damage there; reading the last row decodes everything before it.
        const JDIMENSION last = info_.output_height - 1;
        if (info_.output_scanline < info_.output_height) {
            if (last > info_.output_scanline) {
                jpeg_skip_scanlines(&info_, last - info_.output_scanline);
            }
            jpeg_read_scanlines(&info_, &target, 1);
        }
        jpeg_finish_decompress(&info_);
        return true;
    }

    std::string path_;
    jpeg_decompress_struct info_{};
    ErrorJump errors_;
    FileSource source_;
    StoredPicture picture_;
    std::vector<std::uint32_t> row_;
    bool created_ = false;
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
