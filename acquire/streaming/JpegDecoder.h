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

// One libjpeg-turbo decompressor over a file, reading it through a buffer of its own, so that
// two may decode the same file side by side. libjpeg's errors come back as a false result (it
// leaves through error_exit by jumping back into the call that failed), never as a crash.
class JpegDecoder {
public:
    explicit JpegDecoder(const ReadOnlyFile& file);
    ~JpegDecoder();
    JpegDecoder(const JpegDecoder&) = delete;
    JpegDecoder& operator=(const JpegDecoder&) = delete;

    // Reads the header, keeping the APP1 segments; false when libjpeg cannot.
    bool ReadHeader();
    const jpeg_decompress_struct& Info() const { return info_; }
    // Whether the data comes in several scans (progressive, or one component at a time), all of
    // which libjpeg reads into a buffer of the whole picture before the first row comes out.
    bool MultipleScans() const;
    // The APP1 segments' contents, joined in file order.
    std::vector<std::uint8_t> App1Data() const;

    // Decodes rows (increasing) into pixels 0xXXRRGGBB, handing each to consumer and skipping
    // the rows between; with toEnd, goes on to the end of the data, so that damage anywhere
    // after the first row is found, and otherwise stops after the last row. Uses Qt's reader's
    // settings: the accurate integer IDCT and smooth upsampling, libjpeg's defaults. False when
    // libjpeg gave up.
    bool Decode(std::span<const int> rows, RowConsumer& consumer, bool toEnd);

    // The file ended before the picture did: libjpeg was handed an end marker in its place.
    bool RanOut() const { return source_.ranOut; }
    // libjpeg warned that it had to make up pixels (corrupt data), or gave up.
    bool Damaged() const { return errors_.damaged; }
    // libjpeg gave up for want of memory.
    bool OutOfMemory() const;

private:
    struct FileSource {
        jpeg_source_mgr manager{};
        const ReadOnlyFile* file = nullptr;
        std::int64_t offset = 0;
        std::vector<JOCTET> buffer;
        bool ranOut = false;
    };
    struct ErrorJump {
        jpeg_error_mgr manager{};
        std::jmp_buf jump{};
        bool damaged = false;
    };
    static boolean FillInput(j_decompress_ptr info);
    static void SkipInput(j_decompress_ptr info, long count);
    static void EmitMessage(j_common_ptr info, int level);
    [[noreturn]] static void ErrorExit(j_common_ptr info);

    jpeg_decompress_struct info_{};
    ErrorJump errors_;
    FileSource source_;
    std::vector<std::uint32_t> row_;
    bool created_ = false;
};
