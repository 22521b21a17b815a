#pragma once

#include <png.h>

#include <cstdint>
#include <stdexcept>
#include <string>
#include <vector>

// Channel channel's value at (x, y) of the pattern below.
inline std::uint16_t DeepPngSample(int x, int y, int channel) {
    return static_cast<std::uint16_t>((x % 4) * 16001 + (y % 3) * 5003 + channel * 1999);
}

// Has libpng write into bytes.
inline void WritePngInto(png_structp png, std::string& bytes) {
    png_set_write_fn(
        png, &bytes,
        [](png_structp p, png_bytep data, png_size_t count) {
            static_cast<std::string*>(png_get_io_ptr(p))
                ->append(reinterpret_cast<char*>(data), count);
        },
        nullptr);
}

// A 16-bit-a-channel PNG of a repeating pattern, written by libpng, which (unlike Qt's writer)
// can interlace it and give it a colour key: the key is the colour of the top left pixel, which
// comes back every 4 columns and 3 rows.
inline std::string DeepPng(int width, int height, int colourType, bool interlaced, bool keyed) {
    std::string bytes;
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(png);
    if (setjmp(png_jmpbuf(png)) != 0) {
        png_destroy_write_struct(&png, &info);
        throw std::runtime_error("libpng could not write the test picture");
    }
    WritePngInto(png, bytes);
    png_set_IHDR(png, info, static_cast<png_uint_32>(width), static_cast<png_uint_32>(height), 16,
                 colourType, interlaced ? PNG_INTERLACE_ADAM7 : PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    const auto sample = DeepPngSample;
    if (keyed) {
        png_color_16 key{};
        key.gray = key.red = sample(0, 0, 0);
        key.green = sample(0, 0, 1);
        key.blue = sample(0, 0, 2);
        png_set_tRNS(png, info, nullptr, 0, &key);
    }
    png_write_info(png, info);
    const int channels = png_get_channels(png, info);
    std::vector<png_byte> row(static_cast<std::size_t>(width * channels * 2));
    const int passes = png_set_interlace_handling(png);
    for (int pass = 0; pass < passes; ++pass) {
        for (int y = 0; y < height; ++y) {
            for (int x = 0; x < width; ++x) {
                for (int c = 0; c < channels; ++c) {
                    const std::uint16_t v = sample(x, y, c);
                    const std::size_t at = static_cast<std::size_t>(2 * (x * channels + c));
                    row[at] = static_cast<png_byte>(v >> 8);
                    row[at + 1] = static_cast<png_byte>(v & 0xFF);
                }
            }
            png_write_row(png, row.data());
        }
    }
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    return bytes;
}
