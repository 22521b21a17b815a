#pragma once

// clang-format off
#include <cstdio>  // jpeglib.h needs FILE
#include <jpeglib.h>
// clang-format on

#include <csetjmp>
#include <cstdint>
#include <span>
#include <vector>

#include "sample/RowFeed.h"

class ReadOnlyFile;

// The most scans a progressive JPEG may send. libjpeg's own progression sends 10 for a colour
// picture and 6 for a grey one; cameras and the common encoders send at most a few dozen (an
// encoder that optimises the progression still picks from 64 candidate scans). A file that needs
// more is one built to make the decoder repeat itself (every scan is a pass over the whole
// picture): libjpeg-turbo's own limit for such files (TurboJPEG's scan limit, djpeg -maxscans)
// is 500, which small pictures pass through well within a second.
inline constexpr int kMaxJpegScans = 500;

// The one libjpeg-turbo decompressor that decodes a JPEG file, for the window and the converter
// alike, reading it through a buffer of its own. libjpeg's errors come back as a false result (it
// leaves through error_exit by jumping back into the call that failed), never as a crash; what it
// met is noted (Met).
class JpegDecoder {
public:
    // What the decoder may meet.
    enum Trouble : unsigned {
        kRanOut = 1,          // the file ended first: libjpeg was handed an end marker in its place
        kEndedEarly = 2,      // the coded data ended before the last row of blocks, or scans
                              // of a progressive picture are missing
        kTooManyScans = 4,    // more than kMaxJpegScans scans
        kOutOfMemory = 8,     // libjpeg gave up for want of memory
        kInventedPixels = 16  // libjpeg warned that it made up pixels, or gave up on the data
    };

    explicit JpegDecoder(const ReadOnlyFile& file);
    ~JpegDecoder();
    JpegDecoder(const JpegDecoder&) = delete;
    JpegDecoder& operator=(const JpegDecoder&) = delete;

    // Reads the header, keeping the APP1 segments; false when libjpeg cannot.
    bool ReadHeader();
    const jpeg_decompress_struct& Info() const { return info_; }
    // The APP1 segments' contents, joined in file order.
    std::vector<std::uint8_t> App1Data() const;

    // Decodes rows (increasing) into pixels 0xXXRRGGBB, handing each to consumer and skipping
    // the rows between, only the columns the consumer reads where libjpeg-turbo can leave the
    // others out; then goes on to the end of the data, so that damage anywhere is found. Uses
    // the settings of Qt's JPEG reader (the accurate integer IDCT, smooth chroma upsampling,
    // libjpeg's defaults). False when libjpeg gave up.
    bool Decode(std::span<const int> rows, RowConsumer& consumer);

    bool Met(Trouble trouble) const { return (errors_.met & trouble) != 0; }
    bool MetAny() const { return errors_.met != 0; }

private:
    struct FileSource {
        jpeg_source_mgr manager{};
        const ReadOnlyFile* file = nullptr;
        std::int64_t offset = 0;  // of the buffer's end in the file
        std::vector<JOCTET> buffer;
        std::size_t held = 0;  // bytes in the buffer
        std::size_t fed = 0;   // of them handed to libjpeg
    };
    struct ErrorJump {
        jpeg_error_mgr manager{};
        std::jmp_buf jump{};
        unsigned met = 0;
    };
    void Note(Trouble trouble);
    void CheckCodedDataEnd();
    bool ScansComplete() const;
    void CropTo(ColumnRange columns, JDIMENSION& offset);
    static boolean FillInput(j_decompress_ptr info);
    static void SkipInput(j_decompress_ptr info, long count);
    static void EmitMessage(j_common_ptr info, int level);
    static void Progress(j_common_ptr info);
    [[noreturn]] static void ErrorExit(j_common_ptr info);

    jpeg_decompress_struct info_{};
    ErrorJump errors_;
    FileSource source_;
    jpeg_progress_mgr progress_{};
    std::vector<std::uint32_t> row_;
    bool created_ = false;
};
