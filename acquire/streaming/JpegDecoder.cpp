#include "acquire/streaming/JpegDecoder.h"

#include <jerror.h>

#include "platform/files/ReadOnlyFile.h"

namespace {

constexpr std::size_t kChunk = 1 << 16;
constexpr JOCTET kFakeEnd[] = {0xFF, JPEG_EOI};

// Warnings that mean made-up pixels; the others (stray bytes between segments, an unknown JFIF
// version) are harmless.
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

void Nothing(j_decompress_ptr) {}
void Quiet(j_common_ptr) {}

}  // namespace

JpegDecoder::JpegDecoder(const ReadOnlyFile& file) {
    // libjpeg's callbacks find the decoder through client_data.
    info_.client_data = this;
    info_.err = jpeg_std_error(&errors_.manager);
    errors_.manager.error_exit = ErrorExit;
    errors_.manager.emit_message = EmitMessage;
    errors_.manager.output_message = Quiet;
    source_.file = &file;
    source_.buffer.resize(kChunk);
    source_.manager.init_source = Nothing;
    source_.manager.fill_input_buffer = FillInput;
    source_.manager.skip_input_data = SkipInput;
    source_.manager.resync_to_restart = jpeg_resync_to_restart;
    source_.manager.term_source = Nothing;
}

JpegDecoder::~JpegDecoder() {
    if (created_) jpeg_destroy_decompress(&info_);
}

bool JpegDecoder::ReadHeader() {
    if (setjmp(errors_.jump)) return false;
    jpeg_create_decompress(&info_);  // keeps client_data and err
    created_ = true;
    info_.src = &source_.manager;
    jpeg_save_markers(&info_, JPEG_APP0 + 1, 0xFFFF);
    return jpeg_read_header(&info_, TRUE) == JPEG_HEADER_OK && !source_.ranOut && !errors_.damaged;
}

bool JpegDecoder::MultipleScans() const {
    // libjpeg only reads the struct, but asks for it without const.
    return jpeg_has_multiple_scans(const_cast<j_decompress_ptr>(&info_));
}

std::vector<std::uint8_t> JpegDecoder::App1Data() const {
    std::vector<std::uint8_t> data;
    for (auto* marker = info_.marker_list; marker != nullptr; marker = marker->next) {
        if (marker->marker == JPEG_APP0 + 1) {
            data.insert(data.end(), marker->data, marker->data + marker->data_length);
        }
    }
    return data;
}

// Nothing here needs unwinding when libjpeg jumps back: the state lives in the members.
bool JpegDecoder::Decode(std::span<const int> rows, RowConsumer& consumer, bool toEnd) {
    row_.resize(info_.image_width);
    if (setjmp(errors_.jump)) return false;
    // Four-byte pixels hold the same values as the RGB ones that Qt's reader asks for.
    info_.out_color_space = JCS_EXT_BGRX;
    jpeg_start_decompress(&info_);
    JSAMPROW target = reinterpret_cast<JSAMPROW>(row_.data());
    for (const int row : rows) {
        const auto wanted = static_cast<JDIMENSION>(row);
        if (wanted >= info_.output_height) break;
        if (wanted > info_.output_scanline) {
            jpeg_skip_scanlines(&info_, wanted - info_.output_scanline);
        }
        jpeg_read_scanlines(&info_, &target, 1);
        consumer.TakeRow(row, row_.data());
    }
    if (!toEnd) {
        jpeg_abort_decompress(&info_);
        return true;
    }
    // Skipping to the bottom would leave the rest of the data unread, and any damage in it;
    // reading the last row decodes everything before it.
    const JDIMENSION last = info_.output_height - 1;
    if (info_.output_scanline < info_.output_height) {
        if (last > info_.output_scanline) jpeg_skip_scanlines(&info_, last - info_.output_scanline);
        jpeg_read_scanlines(&info_, &target, 1);
    }
    jpeg_finish_decompress(&info_);
    return true;
}

bool JpegDecoder::OutOfMemory() const {
    return errors_.manager.msg_code == JERR_OUT_OF_MEMORY;
}

// At the end of the file it notes that the picture ran out and hands over an end marker, as
// libjpeg asks of a source that must not fail; a read error counts as the end.
boolean JpegDecoder::FillInput(j_decompress_ptr info) {
    FileSource* source = &static_cast<JpegDecoder*>(info->client_data)->source_;
    const std::int64_t got =
        source->file->ReadAt(reinterpret_cast<char*>(source->buffer.data()),
                             static_cast<std::int64_t>(kChunk), source->offset);
    if (got <= 0) {
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

void JpegDecoder::SkipInput(j_decompress_ptr info, long count) {
    FileSource* source = &static_cast<JpegDecoder*>(info->client_data)->source_;
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

void JpegDecoder::EmitMessage(j_common_ptr info, int level) {
    ErrorJump* errors = &static_cast<JpegDecoder*>(info->client_data)->errors_;
    if (level < 0 && InventsPixels(errors->manager.msg_code)) errors->damaged = true;
}

void JpegDecoder::ErrorExit(j_common_ptr info) {
    ErrorJump* errors = &static_cast<JpegDecoder*>(info->client_data)->errors_;
    errors->damaged = true;
    std::longjmp(errors->jump, 1);
}
