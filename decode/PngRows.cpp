#include "decode/PngRows.h"

#include <png.h>

#include <bit>
#include <csetjmp>
#include <cstdint>
#include <map>
#include <new>
#include <vector>

#include "decode/PictureHeader.h"
#include "decode/PictureReasons.h"
#include "platform/files/FileError.h"
#include "platform/files/ReadOnlyFile.h"

namespace {

// Qt's premultiplication of an 8-bit channel by an 8-bit alpha (qPremultiply).
std::uint32_t Premultiply8(std::uint32_t channel, std::uint32_t alpha) {
    const std::uint32_t t = channel * alpha;
    return (t + (t >> 8) + 0x80) >> 8;
}

// Qt's premultiplication in 16 bits (QRgba64::premultiplied), then its rounding to 8 bits
// (QRgba64::toArgb32).
std::uint32_t To8(std::uint32_t value) {
    const std::uint32_t rounded = value + 0x80;
    return (rounded - (rounded >> 8)) >> 8;
}
std::uint32_t Premultiplied16To8(std::uint32_t channel, std::uint32_t alpha) {
    if (alpha == 0xFFFF) return To8(channel);
    if (alpha == 0) return 0;
    const std::uint64_t t = static_cast<std::uint64_t>(channel) * alpha;
    return To8(static_cast<std::uint32_t>((t + (t >> 16) + 0x8000) >> 16));
}

std::uint32_t Pixel(std::uint32_t red, std::uint32_t green, std::uint32_t blue) {
    return red << 16 | green << 8 | blue;
}

// What libpng reads, and what it came to; it lives outside the functions that libpng may jump
// out of.
struct Reading {
    png_structp png = nullptr;
    png_infop info = nullptr;
    const ReadOnlyFile* file = nullptr;
    std::int64_t offset = 0;
    bool ranOut = false;
    bool badIndex = false;
};

void ReadFromFile(png_structp png, png_bytep data, png_size_t count) {
    auto* reading = static_cast<Reading*>(png_get_io_ptr(png));
    const std::int64_t got = reading->file->ReadAt(
        reinterpret_cast<char*>(data), static_cast<std::int64_t>(count), reading->offset);
    if (got != static_cast<std::int64_t>(count)) {
        reading->ranOut = true;
        png_error(png, "the file ends too soon");
    }
    reading->offset += got;
}

void Fail(png_structp png, png_const_charp) {
    png_longjmp(png, 1);
}
void Ignore(png_structp, png_const_charp) {}

class PngRows : public RowSource {
public:
    PngRows(const std::string& path, const ReadOnlyFile& file) : path_(path) {
        reading_.file = &file;
        reading_.png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, &Fail, &Ignore);
        if (reading_.png != nullptr) reading_.info = png_create_info_struct(reading_.png);
        if (reading_.info == nullptr) {
            png_destroy_read_struct(&reading_.png, nullptr, nullptr);
            throw std::bad_alloc();
        }
    }
    ~PngRows() override { png_destroy_read_struct(&reading_.png, &reading_.info, nullptr); }
    PngRows(const PngRows&) = delete;
    PngRows& operator=(const PngRows&) = delete;

    void ReadHeader() {
        if (!Header()) Refuse();
    }
    const StoredPicture& Picture() const override { return picture_; }

    void Feed(RowConsumer& consumer) override {
        wanted_ = WantedRows(consumer, picture_.height);
        pixels_.resize(static_cast<std::size_t>(picture_.width));
        if (!Rows(consumer)) Refuse();
        if (reading_.badIndex) throw FileError(path_, kDamagedPicture);
    }

private:
    [[noreturn]] void Refuse() const {
        throw FileError(path_, reading_.ranOut ? kTruncatedPicture : kDamagedPicture);
    }

    // Reads the header and sets libpng's transformations; false when libpng gave up.
    bool Header() {
        png_structp png = reading_.png;
        png_infop info = reading_.info;
        if (setjmp(png_jmpbuf(png)) != 0) return false;
        png_set_read_fn(png, &reading_, &ReadFromFile);
        // The size was checked against the program's own limit already.
        png_set_user_limits(png, 0x7FFFFFFF, 0x7FFFFFFF);
#if defined(PNG_SET_OPTION_SUPPORTED) && defined(PNG_MAXIMUM_INFLATE_WINDOW)
        png_set_option(png, PNG_MAXIMUM_INFLATE_WINDOW, PNG_OPTION_ON);  // as Qt reads
#endif
        png_read_info(png, info);
        picture_.width = static_cast<int>(png_get_image_width(png, info));
        picture_.height = static_cast<int>(png_get_image_height(png, info));
        type_ = png_get_color_type(png, info);
        depth_ = png_get_bit_depth(png, info);
        if (type_ == PNG_COLOR_TYPE_PALETTE) {
            ReadPalette();
            if (depth_ < 8) png_set_packing(png);  // one index a byte
        } else {
            if (type_ == PNG_COLOR_TYPE_GRAY && depth_ < 8) png_set_expand_gray_1_2_4_to_8(png);
            if (png_get_valid(png, info, PNG_INFO_tRNS) != 0) png_set_tRNS_to_alpha(png);
            if (depth_ == 16 && std::endian::native == std::endian::little) png_set_swap(png);
        }
        interlaced_ = png_set_interlace_handling(png) > 1;
        png_read_update_info(png, info);
        channels_ = png_get_channels(png, info);
        depth_ = png_get_bit_depth(png, info);
        rowBytes_ = png_get_rowbytes(png, info);
        return true;
    }

    // The palette with each entry's transparency, premultiplied as Qt draws it.
    void ReadPalette() {
        png_colorp colours = nullptr;
        int count = 0;
        png_get_PLTE(reading_.png, reading_.info, &colours, &count);
        png_bytep alphas = nullptr;
        int alphaCount = 0;
        if (png_get_valid(reading_.png, reading_.info, PNG_INFO_tRNS) != 0) {
            png_get_tRNS(reading_.png, reading_.info, &alphas, &alphaCount, nullptr);
        }
        for (int i = 0; i < count; ++i) {
            const std::uint32_t alpha = i < alphaCount ? alphas[i] : 0xFF;
            palette_.push_back(Pixel(Premultiply8(colours[i].red, alpha),
                                     Premultiply8(colours[i].green, alpha),
                                     Premultiply8(colours[i].blue, alpha)));
        }
    }

    // Decodes every row, handing the needed ones over; false when libpng gave up.
    bool Rows(RowConsumer& consumer) {
        png_structp png = reading_.png;
        if (setjmp(png_jmpbuf(png)) != 0) return false;
        raw_.resize(rowBytes_);
        if (!interlaced_) {
            for (int y = 0; y < picture_.height; ++y) {
                png_read_row(png, raw_.data(), nullptr);
                if (wanted_[static_cast<std::size_t>(y)]) Hand(y, raw_.data(), consumer);
            }
        } else {
            // libpng combines each pass into the rows given to it. The odd rows come whole in the
            // last pass, so only the even rows that are needed are held, each until the sixth
            // pass completes it; every other row goes into one scratch row.
            for (std::size_t y = 0; y < wanted_.size(); y += 2) {
                if (wanted_[y]) held_[static_cast<int>(y)].resize(rowBytes_);
            }
            constexpr int kLastPass = PNG_INTERLACE_ADAM7_PASSES - 1;
            for (int pass = 0; pass <= kLastPass; ++pass) {
                for (int y = 0; y < picture_.height; ++y) {
                    auto row = held_.find(y);
                    png_byte* target = row == held_.end() ? raw_.data() : row->second.data();
                    png_read_row(png, target, nullptr);
                    if (pass == kLastPass && y % 2 == 1 && wanted_[static_cast<std::size_t>(y)]) {
                        Hand(y, target, consumer);
                    }
                }
                if (pass == kLastPass - 1) {
                    for (auto& [y, row] : held_) Hand(y, row.data(), consumer);
                    held_.clear();
                }
            }
        }
        png_read_end(png, nullptr);
        return true;
    }

    void Hand(int y, const png_byte* raw, RowConsumer& consumer) {
        Convert(raw);
        consumer.TakeRow(y, pixels_.data());
    }

    void Convert(const png_byte* raw) {
        const std::size_t width = pixels_.size();
        std::uint32_t* out = pixels_.data();
        if (type_ == PNG_COLOR_TYPE_PALETTE) {
            for (std::size_t x = 0; x < width; ++x) {
                const unsigned index = raw[x];
                if (index >= palette_.size()) {
                    reading_.badIndex = true;
                    out[x] = 0;
                } else {
                    out[x] = palette_[index];
                }
            }
            return;
        }
        const bool colour = channels_ >= 3;
        const bool alpha = channels_ == 2 || channels_ == 4;
        if (depth_ == 16) {
            const auto* in = reinterpret_cast<const std::uint16_t*>(raw);
            for (std::size_t x = 0; x < width; ++x, in += channels_) {
                const std::uint32_t a = alpha ? in[channels_ - 1] : 0xFFFF;
                const std::uint32_t r = Premultiplied16To8(in[0], a);
                out[x] = colour
                             ? Pixel(r, Premultiplied16To8(in[1], a), Premultiplied16To8(in[2], a))
                             : Pixel(r, r, r);
            }
            return;
        }
        for (std::size_t x = 0; x < width; ++x, raw += channels_) {
            const std::uint32_t a = alpha ? raw[channels_ - 1] : 0xFF;
            const std::uint32_t r = alpha ? Premultiply8(raw[0], a) : raw[0];
            if (!colour) {
                out[x] = Pixel(r, r, r);
            } else if (!alpha) {
                out[x] = Pixel(raw[0], raw[1], raw[2]);
            } else {
                out[x] = Pixel(r, Premultiply8(raw[1], a), Premultiply8(raw[2], a));
            }
        }
    }

    std::string path_;
    Reading reading_;
    StoredPicture picture_;
    int type_ = 0;
    int depth_ = 0;
    int channels_ = 0;
    bool interlaced_ = false;
    std::size_t rowBytes_ = 0;
    std::vector<std::uint32_t> palette_;  // premultiplied 0x00RRGGBB
    std::vector<bool> wanted_;
    std::vector<png_byte> raw_;
    std::map<int, std::vector<png_byte>> held_;  // the needed even rows of an interlaced picture
    std::vector<std::uint32_t> pixels_;
};

}  // namespace

std::unique_ptr<RowSource> OpenPngRows(const std::string& path, const ReadOnlyFile& file) {
    const PictureSize declared = PngDeclaredSize(FileBytes(file, 0, 24));
    if (TooLarge(declared.width, declared.height)) {
        throw FileError(path, TooLargeReason(declared.width, declared.height));
    }
    auto rows = std::make_unique<PngRows>(path, file);
    rows->ReadHeader();
    return rows;
}
