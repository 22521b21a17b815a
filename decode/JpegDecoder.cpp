#include "decode/JpegDecoder.h"

#include <jerror.h>

#include <algorithm>

#include "platform/files/ReadOnlyFile.h"

namespace {

constexpr std::size_t kChunk = 1 << 16;
// libjpeg-turbo decodes Huffman data on a fast path, which reads a bad code as zero without a
// word, while it holds at least 512 bytes per block of a coding unit; fed less at a time, it
// checks every code and warns.
constexpr std::size_t kFeed = 256;
constexpr JOCTET kFakeEnd[] = {0xFF, JPEG_EOI};

// libjpeg's warnings that leave every pixel as the file holds it: stray bytes between segments
// (which many cameras write), an unknown JFIF version or Adobe transform, a bad ICC profile,
// unusual scan parameters that libjpeg reads anyway. Every other warning means made-up pixels.
bool Harmless(int warning) {
    switch (warning) {
        case JWRN_EXTRANEOUS_DATA:
        case JWRN_JFIF_MAJOR:
        case JWRN_ADOBE_XFORM:
        case JWRN_BOGUS_ICC:
        case JWRN_NOT_SEQUENTIAL:
            return true;
        default:
            return false;
    }
}

void Nothing(j_decompress_ptr) {}
void Quiet(j_common_ptr) {}

JpegDecoder* DecoderOf(j_common_ptr info) {
    return static_cast<JpegDecoder*>(info->client_data);
}

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
    progress_.progress_monitor = Progress;
}

JpegDecoder::~JpegDecoder() {
    if (created_) jpeg_destroy_decompress(&info_);
}

void JpegDecoder::Note(Trouble trouble) {
    errors_.met |= trouble;
}

bool JpegDecoder::ReadHeader() {
    if (setjmp(errors_.jump)) return false;
    jpeg_create_decompress(&info_);  // keeps client_data and err
    created_ = true;
    info_.src = &source_.manager;
    info_.progress = &progress_;
    jpeg_save_markers(&info_, JPEG_APP0 + 1, 0xFFFF);
    return jpeg_read_header(&info_, TRUE) == JPEG_HEADER_OK && !MetAny();
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

// Arithmetic coding has no way to say that its data was cut: at a marker libjpeg feeds zeros,
// legally and without a warning, and a file cut short with an end marker put back decodes to
// made-up blocks. A scan whose data ends (libjpeg has met a marker other than a restart marker)
// while a whole row of blocks is still to be decoded was cut.
void JpegDecoder::CheckCodedDataEnd() {
    const int marker = info_.unread_marker;
    const bool restart = marker >= JPEG_RST0 && marker <= JPEG_RST0 + 7;
    if (info_.arith_code && marker != 0 && !restart &&
        info_.input_iMCU_row < info_.total_iMCU_rows) {
        Note(kEndedEarly);
    }
}

// libjpeg calls this before each row of blocks of each scan it takes in.
void JpegDecoder::Progress(j_common_ptr info) {
    JpegDecoder* decoder = DecoderOf(info);
    if (decoder->info_.input_scan_number > kMaxJpegScans) {
        decoder->Note(kTooManyScans);
        std::longjmp(decoder->errors_.jump, 1);
    }
    decoder->CheckCodedDataEnd();
}

// A progressive picture's scans send every coefficient of every component to its last bit, as
// every encoder sends them; a file cut short between scans, an end marker put back, leaves some
// unsent, which libjpeg takes for zero without a word.
bool JpegDecoder::ScansComplete() const {
    if (!info_.progressive_mode || info_.coef_bits == nullptr) return true;
    for (int component = 0; component < info_.num_components; ++component) {
        for (int k = 0; k < DCTSIZE2; ++k) {
            if (info_.coef_bits[component][k] != 0) return false;
        }
    }
    return true;
}

// Leaves out the columns beyond the consumer's, keeping one block column more on each side so
// that smooth upsampling sees the same neighbours as in a whole decode. offset becomes where the
// decoded columns start.
void JpegDecoder::CropTo(ColumnRange columns, JDIMENSION& offset) {
    offset = 0;
    const int width = static_cast<int>(info_.output_width);
    const int margin = info_.max_h_samp_factor * DCTSIZE;
    const int begin = std::max(0, columns.begin - margin);
    const int end = std::min(width, columns.end > width - margin ? width : columns.end + margin);
    if (begin == 0 && end == width) return;
    offset = static_cast<JDIMENSION>(begin);
    auto cropped = static_cast<JDIMENSION>(end - begin);
    jpeg_crop_scanline(&info_, &offset, &cropped);
}

// Nothing here needs unwinding when libjpeg jumps back: the state lives in the members.
bool JpegDecoder::Decode(std::span<const int> rows, RowConsumer& consumer) {
    row_.resize(info_.image_width);
    if (setjmp(errors_.jump)) return false;
    // Four-byte pixels hold the same values as the RGB ones that Qt's reader asks for.
    info_.out_color_space = JCS_EXT_BGRX;
    jpeg_start_decompress(&info_);  // takes in every scan of a progressive picture
    if (!ScansComplete()) Note(kEndedEarly);
    JDIMENSION offset = 0;
    CropTo(consumer.NeededColumns(), offset);
    JSAMPROW target = reinterpret_cast<JSAMPROW>(row_.data() + offset);
    for (const int row : rows) {
        const auto wanted = static_cast<JDIMENSION>(row);
        if (wanted >= info_.output_height) break;
        if (wanted > info_.output_scanline) {
            jpeg_skip_scanlines(&info_, wanted - info_.output_scanline);
        }
        jpeg_read_scanlines(&info_, &target, 1);
        CheckCodedDataEnd();
        consumer.TakeRow(row, row_.data());
    }
    // Skipping to the bottom would leave the rest of the data unread, and any damage in it;
    // reading the last row decodes everything before it.
    const JDIMENSION last = info_.output_height - 1;
    if (info_.output_scanline < info_.output_height) {
        if (last > info_.output_scanline) jpeg_skip_scanlines(&info_, last - info_.output_scanline);
        CheckCodedDataEnd();
        jpeg_read_scanlines(&info_, &target, 1);
    }
    jpeg_finish_decompress(&info_);
    return true;
}

// Hands libjpeg at most kFeed bytes at a time from a buffer of the file. At the end of the file it
// notes that the picture ran out and hands over an end marker, as libjpeg asks of a source that
// must not fail; a read error counts as the end.
boolean JpegDecoder::FillInput(j_decompress_ptr info) {
    JpegDecoder* decoder = DecoderOf(reinterpret_cast<j_common_ptr>(info));
    FileSource& source = decoder->source_;
    if (source.fed >= source.held) {
        const std::int64_t got =
            source.file->ReadAt(reinterpret_cast<char*>(source.buffer.data()),
                                static_cast<std::int64_t>(kChunk), source.offset);
        if (got <= 0) {
            decoder->Note(kRanOut);
            source.manager.next_input_byte = kFakeEnd;
            source.manager.bytes_in_buffer = sizeof kFakeEnd;
            return TRUE;
        }
        source.offset += got;
        source.held = static_cast<std::size_t>(got);
        source.fed = 0;
    }
    const std::size_t count = std::min(kFeed, source.held - source.fed);
    source.manager.next_input_byte = source.buffer.data() + source.fed;
    source.manager.bytes_in_buffer = count;
    source.fed += count;
    return TRUE;
}

void JpegDecoder::SkipInput(j_decompress_ptr info, long count) {
    FileSource& source = DecoderOf(reinterpret_cast<j_common_ptr>(info))->source_;
    if (count <= 0) return;
    auto skip = static_cast<std::size_t>(count);
    if (skip <= source.manager.bytes_in_buffer) {
        source.manager.next_input_byte += skip;
        source.manager.bytes_in_buffer -= skip;
        return;
    }
    skip -= source.manager.bytes_in_buffer;
    source.manager.bytes_in_buffer = 0;
    if (skip <= source.held - source.fed) {
        source.fed += skip;
    } else {
        source.offset += static_cast<std::int64_t>(skip - (source.held - source.fed));
        source.fed = source.held = 0;
    }
}

void JpegDecoder::EmitMessage(j_common_ptr info, int level) {
    JpegDecoder* decoder = DecoderOf(info);
    if (level < 0 && !Harmless(decoder->errors_.manager.msg_code)) {
        decoder->Note(kInventedPixels);
    }
}

void JpegDecoder::ErrorExit(j_common_ptr info) {
    JpegDecoder* decoder = DecoderOf(info);
    decoder->Note(decoder->errors_.manager.msg_code == JERR_OUT_OF_MEMORY ? kOutOfMemory
                                                                          : kInventedPixels);
    std::longjmp(decoder->errors_.jump, 1);
}
