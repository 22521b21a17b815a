#include "acquire/DeepPng.h"

#include <png.h>

#include <QRgba64>
#include <csetjmp>
#include <cstdint>
#include <new>
#include <vector>

namespace {

// A libpng reader that is destroyed however it ends.
class PngReader {
public:
    PngReader() {
        png_ = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, &Fail, &Ignore);
        if (png_ != nullptr) info_ = png_create_info_struct(png_);
    }
    ~PngReader() { png_destroy_read_struct(&png_, &info_, nullptr); }
    PngReader(const PngReader&) = delete;
    PngReader& operator=(const PngReader&) = delete;

    png_structp png() const { return png_; }
    png_infop info() const { return info_; }

private:
    static void Fail(png_structp png, png_const_charp) { png_longjmp(png, 1); }
    static void Ignore(png_structp, png_const_charp) {}

    png_structp png_ = nullptr;
    png_infop info_ = nullptr;
};

void ReadFromDevice(png_structp png, png_bytep data, png_size_t count) {
    auto* device = static_cast<QIODevice*>(png_get_io_ptr(png));
    if (device->read(reinterpret_cast<char*>(data), static_cast<qint64>(count)) !=
        static_cast<qint64>(count)) {
        png_error(png, "read error");
    }
}

bool Handled(png_structp png, png_infop info) {
    const int depth = png_get_bit_depth(png, info);
    const int type = png_get_color_type(png, info);
    const bool keyed = png_get_valid(png, info, PNG_INFO_tRNS) != 0;
    return depth == 16 &&
           (type == PNG_COLOR_TYPE_RGB || type == PNG_COLOR_TYPE_RGBA ||
            type == PNG_COLOR_TYPE_GRAY_ALPHA || (type == PNG_COLOR_TYPE_GRAY && keyed));
}

// A row of 16-bit red, green, blue, alpha into box pixels step apart.
void ConvertRow(const std::uint16_t* row, std::uint32_t* out, std::size_t count, std::size_t step,
                bool alpha) {
    for (std::size_t i = 0; i < count; ++i, row += 4, out += step) {
        const QRgba64 colour = QRgba64::fromRgba64(row[0], row[1], row[2], row[3]);
        *out = alpha ? colour.premultiplied().toArgb32() : colour.toArgb32();
    }
}

// What a read came to; it lives outside the function that libpng may jump back into.
struct Progress {
    bool handled = false;  // the file is one this decoder takes
    PixelBuffer pixels;
    std::vector<std::uint16_t> row;
};

// Reads the picture into progress; false when libpng gave up on the file.
bool Read(png_structp png, png_infop info, QIODevice& file, const PixelAllocator& allocate,
          Progress& progress) {
    if (setjmp(png_jmpbuf(png)) != 0) return false;
    png_set_read_fn(png, &file, &ReadFromDevice);
#if defined(PNG_SET_OPTION_SUPPORTED) && defined(PNG_MAXIMUM_INFLATE_WINDOW)
    png_set_option(png, PNG_MAXIMUM_INFLATE_WINDOW, PNG_OPTION_ON);  // as Qt reads
#endif
    png_read_info(png, info);
    if (!Handled(png, info)) return true;
    progress.handled = true;
    const std::size_t width = png_get_image_width(png, info);
    const std::size_t height = png_get_image_height(png, info);
    const int type = png_get_color_type(png, info);
    // A colour key becomes an alpha channel of 0 and 65535. (Qt 6.4 reads a colour-keyed RGB
    // file as four channels, the fourth made up; this is the picture as stored.)
    const bool keyed = png_get_valid(png, info, PNG_INFO_tRNS) != 0;
    const bool alpha = (type & PNG_COLOR_MASK_ALPHA) != 0 || keyed;
    if (keyed) png_set_tRNS_to_alpha(png);
    if ((type & PNG_COLOR_MASK_COLOR) == 0) png_set_gray_to_rgb(png);
    if (!alpha) png_set_filler(png, 0xFFFF, PNG_FILLER_AFTER);
    if (QSysInfo::ByteOrder == QSysInfo::LittleEndian) png_set_swap(png);
    png_read_update_info(png, info);

    progress.pixels = allocate(width * height);
    progress.row.resize(width * 4);
    png_bytep row = reinterpret_cast<png_bytep>(progress.row.data());
    if (png_get_interlace_type(png, info) == PNG_INTERLACE_NONE) {
        for (std::size_t y = 0; y < height; ++y) {
            png_read_row(png, row, nullptr);
            ConvertRow(progress.row.data(), progress.pixels.get() + y * width, width, 1, alpha);
        }
    } else {
        // Each of the seven passes is a small picture of its own, whose pixels are spread over
        // the whole: every pixel comes once and goes straight to its place in the box, where
        // letting libpng combine the passes would hold the whole picture at 16 bits a channel.
        for (int pass = 0; pass < PNG_INTERLACE_ADAM7_PASSES; ++pass) {
            const std::size_t columns = PNG_PASS_COLS(width, pass);
            const std::size_t rows = PNG_PASS_ROWS(height, pass);
            if (columns == 0 || rows == 0) continue;
            for (std::size_t r = 0; r < rows; ++r) {
                png_read_row(png, row, nullptr);
                const std::size_t y = PNG_ROW_FROM_PASS_ROW(r, pass);
                const std::size_t x = PNG_COL_FROM_PASS_COL(0, pass);
                ConvertRow(progress.row.data(), progress.pixels.get() + y * width + x, columns,
                           std::size_t{1} << PNG_PASS_COL_SHIFT(pass), alpha);
            }
        }
    }
    png_read_end(png, nullptr);
    return true;
}

}  // namespace

std::optional<PixelBuffer> DecodeDeepPng(QIODevice& file, const PixelAllocator& allocate,
                                         DecoderWarnings::Loss& loss) {
    const qint64 start = file.pos();
    PngReader reader;
    if (reader.png() == nullptr || reader.info() == nullptr) throw std::bad_alloc();
    Progress progress;
    const bool read = Read(reader.png(), reader.info(), file, allocate, progress);
    if (!progress.handled) {
        file.seek(start);  // not a file for this decoder: Qt's reads it, and says what is wrong
        return std::nullopt;
    }
    if (!read) {
        loss = DecoderWarnings::Loss::kCorruptData;
        return PixelBuffer();
    }
    return std::move(progress.pixels);
}
