#include "acquire/JpegDataCheck.h"

#include <algorithm>
#include <csetjmp>
#include <cstdio>

// clang-format off
#include <jpeglib.h>
#include <jerror.h>
// clang-format on

namespace {

using Loss = DecoderWarnings::Loss;

constexpr qint64 kChunk = 1 << 16;
// libjpeg-turbo decodes with a fast path, which reads a bad code as zero without a word, while
// it holds at least 512 bytes per block of a coding unit; fed less, it checks every code.
constexpr qsizetype kFeed = 256;
const JOCTET kEndOfImage[] = {0xFF, JPEG_EOI};

struct Source : jpeg_source_mgr {
    const std::function<QByteArray(qint64, qint64)>* bytesAt = nullptr;
    qint64 offset = 0;
    QByteArray chunk;   // the file's bytes from offset on
    qsizetype fed = 0;  // how many of them libjpeg has been given
    bool ranOut = false;
};

struct Errors : jpeg_error_mgr {
    std::jmp_buf bail;
    Loss loss = Loss::kNone;
};

void Note(Errors& errors, Loss loss) {
    if (loss > errors.loss) errors.loss = loss;
}

void Init(j_decompress_ptr) {}
void Term(j_decompress_ptr) {}

boolean Fill(j_decompress_ptr info) {
    auto* source = static_cast<Source*>(info->src);
    if (source->fed >= source->chunk.size()) {
        source->offset += source->chunk.size();
        source->chunk = (*source->bytesAt)(source->offset, kChunk);
        source->fed = 0;
    }
    if (source->chunk.isEmpty()) {
        // Past the end: an end marker lets libjpeg finish, and the note says what happened.
        source->ranOut = true;
        source->next_input_byte = kEndOfImage;
        source->bytes_in_buffer = sizeof kEndOfImage;
        return TRUE;
    }
    const qsizetype count = std::min(kFeed, source->chunk.size() - source->fed);
    source->next_input_byte =
        reinterpret_cast<const JOCTET*>(source->chunk.constData() + source->fed);
    source->bytes_in_buffer = static_cast<std::size_t>(count);
    source->fed += count;
    return TRUE;
}

void Skip(j_decompress_ptr info, long count) {
    auto* source = static_cast<Source*>(info->src);
    if (count <= 0) return;
    const auto buffered = static_cast<long>(source->bytes_in_buffer);
    if (count <= buffered) {
        source->next_input_byte += count;
        source->bytes_in_buffer -= static_cast<std::size_t>(count);
        return;
    }
    // Past what libjpeg holds: skip within the chunk, or beyond it.
    source->bytes_in_buffer = 0;
    source->fed += count - buffered;
    if (source->fed > source->chunk.size()) {
        source->offset += source->fed;
        source->chunk.clear();
        source->fed = 0;
    }
}

void Bail(j_common_ptr info) {
    std::longjmp(static_cast<Errors*>(info->err)->bail, 1);
}

void Message(j_common_ptr info, int level) {
    if (level >= 0) return;  // tracing, not a warning
    auto& errors = *static_cast<Errors*>(info->err);
    switch (errors.msg_code) {
        // Warnings that leave every pixel as the file holds it.
        case JWRN_EXTRANEOUS_DATA:
        case JWRN_JFIF_MAJOR:
        case JWRN_ADOBE_XFORM:
        case JWRN_BOGUS_ICC:
        case JWRN_NOT_SEQUENTIAL:
            break;
        case JWRN_JPEG_EOF:
            Note(errors, Loss::kRanOutOfData);
            break;
        default:
            Note(errors, Loss::kCorruptData);
    }
}

}  // namespace

Loss JpegDataLoss(const std::function<QByteArray(qint64 offset, qint64 count)>& bytesAt) {
    jpeg_decompress_struct info{};
    Errors errors;
    info.err = jpeg_std_error(&errors);
    errors.error_exit = Bail;
    errors.emit_message = Message;
    Source source;
    source.bytesAt = &bytesAt;
    source.next_input_byte = nullptr;
    source.bytes_in_buffer = 0;
    source.init_source = Init;
    source.fill_input_buffer = Fill;
    source.skip_input_data = Skip;
    source.resync_to_restart = jpeg_resync_to_restart;
    source.term_source = Term;

    jpeg_create_decompress(&info);
    if (setjmp(errors.bail) != 0) {
        jpeg_destroy_decompress(&info);
        return source.ranOut ? Loss::kRanOutOfData : Loss::kCorruptData;
    }
    info.src = &source;
    jpeg_read_header(&info, TRUE);
    info.scale_num = 1;
    info.scale_denom = 8;
    info.dct_method = JDCT_IFAST;
    info.do_fancy_upsampling = FALSE;
    jpeg_start_decompress(&info);
    JSAMPARRAY row = (*info.mem->alloc_sarray)(reinterpret_cast<j_common_ptr>(&info), JPOOL_IMAGE,
                                               info.output_width * info.output_components, 1);
    while (info.output_scanline < info.output_height) jpeg_read_scanlines(&info, row, 1);
    jpeg_finish_decompress(&info);
    jpeg_destroy_decompress(&info);
    return source.ranOut ? Loss::kRanOutOfData : errors.loss;
}
