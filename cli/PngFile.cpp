#include "cli/PngFile.h"

#include <png.h>

#include <csetjmp>
#include <cstdint>
#include <vector>

#include "platform/files/AtomicFile.h"
#include "platform/picture/PictureBox.h"

namespace {

// 100 dots an inch, in dots a metre, as the files have always said.
constexpr png_uint_32 kDotsPerMetre = 3937;

void Append(png_structp png, png_bytep data, png_size_t count) {
    static_cast<std::string*>(png_get_io_ptr(png))->append(reinterpret_cast<char*>(data), count);
}
void Flush(png_structp) {}
void Fail(png_structp png, png_const_charp) {
    png_longjmp(png, 1);
}
void Ignore(png_structp, png_const_charp) {}

// Writes the picture into out; false when libpng gave up. Only trivially destroyed state lives
// here, where libpng may jump back.
bool Write(png_structp png, png_infop info, const PictureBox& picture, std::vector<png_byte>& row,
           std::string& out) {
    if (setjmp(png_jmpbuf(png)) != 0) return false;
    png_set_write_fn(png, &out, &Append, &Flush);
    png_set_IHDR(png, info, static_cast<png_uint_32>(picture.Width()),
                 static_cast<png_uint_32>(picture.Height()), 8, PNG_COLOR_TYPE_RGB,
                 PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_set_pHYs(png, info, kDotsPerMetre, kDotsPerMetre, PNG_RESOLUTION_METER);
    png_write_info(png, info);
    for (int y = 0; y < picture.Height(); ++y) {
        const std::uint32_t* values = picture.Row(y);
        for (int x = 0; x < picture.Width(); ++x) {
            // Colour values: red in bits 0..7, green 8..15, blue 16..23.
            row[3 * x] = static_cast<png_byte>(values[x] & 0xFF);
            row[3 * x + 1] = static_cast<png_byte>((values[x] >> 8) & 0xFF);
            row[3 * x + 2] = static_cast<png_byte>((values[x] >> 16) & 0xFF);
        }
        png_write_row(png, row.data());
    }
    png_write_end(png, nullptr);
    return true;
}

}  // namespace

std::string PngOf(const PictureBox& picture) {
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, &Fail, &Ignore);
    png_infop info = png != nullptr ? png_create_info_struct(png) : nullptr;
    std::string out;
    std::vector<png_byte> row(static_cast<std::size_t>(picture.Width()) * 3);
    if (info == nullptr || !Write(png, info, picture, row, out)) out.clear();
    png_destroy_write_struct(&png, &info);
    return out;
}

void PreparePng(AtomicFile& file, const PictureBox& picture) {
    const std::string bytes = PngOf(picture);
    if (bytes.empty()) throw FileError(file.Target(), "the PNG could not be encoded");
    file.Write(bytes.data(), bytes.size());
    file.Close();
}
