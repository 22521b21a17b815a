#include "decode/GifRows.h"

#include <gif_lib.h>

#include <algorithm>
#include <cstdint>
#include <vector>

#include "decode/PictureReasons.h"
#include "platform/files/FileError.h"
#include "platform/files/ReadOnlyFile.h"

namespace {

constexpr std::uint32_t kBlack = 0;
constexpr int kGraphicsControl = 0xF9;

struct Reading {
    const ReadOnlyFile* file = nullptr;
    std::int64_t offset = 0;
    bool ranOut = false;
};

int ReadFromFile(GifFileType* gif, GifByteType* data, int count) {
    auto* reading = static_cast<Reading*>(gif->UserData);
    const std::int64_t got =
        reading->file->ReadAt(reinterpret_cast<char*>(data), count, reading->offset);
    if (got < count) reading->ranOut = true;
    if (got <= 0) return 0;
    reading->offset += got;
    return static_cast<int>(got);
}

std::vector<std::uint32_t> Colours(const ColorMapObject* map) {
    std::vector<std::uint32_t> colours;
    if (map == nullptr || map->Colors == nullptr) return colours;
    for (int i = 0; i < map->ColorCount; ++i) {
        const GifColorType& c = map->Colors[i];
        colours.push_back(std::uint32_t{c.Red} << 16 | std::uint32_t{c.Green} << 8 | c.Blue);
    }
    return colours;
}

// Where a picture lies on the screen along one axis: where it says, cut at the screen's edge.
struct Span {
    int begin;
    int size;
};
Span Placed(int begin, int size, int screen) {
    begin = std::min(begin, screen);
    return {begin, std::min(size, screen - begin)};
}

class GifRows : public RowSource {
public:
    GifRows(const std::string& path, const ReadOnlyFile& file) : path_(path) {
        reading_.file = &file;
        int error = 0;
        gif_ = DGifOpen(&reading_, &ReadFromFile, &error);
        if (gif_ == nullptr) Refuse();
    }
    ~GifRows() override {
        int error = 0;
        DGifCloseFile(gif_, &error);
    }
    GifRows(const GifRows&) = delete;
    GifRows& operator=(const GifRows&) = delete;

    // Reads up to the first picture's descriptor.
    void ReadHeader() {
        for (;;) {
            GifRecordType record = UNDEFINED_RECORD_TYPE;
            if (DGifGetRecordType(gif_, &record) == GIF_ERROR) Refuse();
            if (record == IMAGE_DESC_RECORD_TYPE) break;
            if (record != EXTENSION_RECORD_TYPE) Refuse();  // the end, before any picture
            ReadExtension();
        }
        if (DGifGetImageDesc(gif_) == GIF_ERROR) Refuse();
        const GifImageDesc& image = gif_->Image;
        if (image.Width <= 0 || image.Height <= 0) Refuse();
        screenWidth_ = gif_->SWidth > 0 ? gif_->SWidth : image.Left + image.Width;
        screenHeight_ = gif_->SHeight > 0 ? gif_->SHeight : image.Top + image.Height;
        if (TooLarge(screenWidth_, screenHeight_)) {
            throw FileError(path_, TooLargeReason(screenWidth_, screenHeight_));
        }
        picture_.width = screenWidth_;
        picture_.height = screenHeight_;
    }

    const StoredPicture& Picture() const override { return picture_; }

    void Feed(RowConsumer& consumer) override {
        const GifImageDesc& image = gif_->Image;
        const std::vector<std::uint32_t> global = Colours(gif_->SColorMap);
        const std::vector<std::uint32_t> colours =
            image.ColorMap ? Colours(image.ColorMap) : global;
        std::uint32_t background = kBlack;
        if (transparent_ < 0 && gif_->SBackGroundColor < static_cast<int>(global.size())) {
            background = global[static_cast<std::size_t>(gif_->SBackGroundColor)];
        }
        const Span across = Placed(image.Left, image.Width, screenWidth_);
        const Span down = Placed(image.Top, image.Height, screenHeight_);

        const std::vector<bool> wanted = WantedRows(consumer, screenHeight_);
        std::vector<std::uint32_t> row(static_cast<std::size_t>(screenWidth_), background);
        for (int y = 0; y < screenHeight_; ++y) {
            if (wanted[static_cast<std::size_t>(y)] &&
                (y < down.begin || y >= down.begin + down.size)) {
                consumer.TakeRow(y, row.data());
            }
        }
        std::vector<GifPixelType> indices(static_cast<std::size_t>(image.Width));
        for (int line = 0; line < image.Height; ++line) {
            if (DGifGetLine(gif_, indices.data(), image.Width) == GIF_ERROR) Refuse();
            const int y = down.begin + (image.Interlace ? InterlacedRow(line, image.Height) : line);
            if (y >= down.begin + down.size || !wanted[static_cast<std::size_t>(y)]) continue;
            for (int x = 0; x < across.size; ++x) {
                const int index = indices[static_cast<std::size_t>(x)];
                row[static_cast<std::size_t>(across.begin + x)] =
                    index == transparent_ || index >= static_cast<int>(colours.size())
                        ? kBlack
                        : colours[static_cast<std::size_t>(index)];
            }
            consumer.TakeRow(y, row.data());
        }
    }

private:
    [[noreturn]] void Refuse() const {
        throw FileError(path_, reading_.ranOut ? kTruncatedPicture : kDamagedPicture);
    }

    // Keeps the transparent colour of a graphics control extension; skips any other.
    void ReadExtension() {
        int code = 0;
        GifByteType* block = nullptr;
        if (DGifGetExtension(gif_, &code, &block) == GIF_ERROR) Refuse();
        if (code == kGraphicsControl && block != nullptr && block[0] >= 4) {
            transparent_ = (block[1] & 1) != 0 ? block[4] : -1;
        }
        while (block != nullptr) {
            if (DGifGetExtensionNext(gif_, &block) == GIF_ERROR) Refuse();
        }
    }

    // The row that the line-th line of an interlaced picture holds: every eighth row from 0, then
    // from 4, every fourth from 2, every second from 1.
    static int InterlacedRow(int line, int height) {
        static constexpr int kStart[] = {0, 4, 2, 1};
        static constexpr int kStep[] = {8, 8, 4, 2};
        for (int pass = 0; pass < 4; ++pass) {
            const int rows =
                height > kStart[pass] ? (height - kStart[pass] + kStep[pass] - 1) / kStep[pass] : 0;
            if (line < rows) return kStart[pass] + line * kStep[pass];
            line -= rows;
        }
        return 0;
    }

    std::string path_;
    Reading reading_;
    GifFileType* gif_ = nullptr;
    StoredPicture picture_;
    int screenWidth_ = 0;
    int screenHeight_ = 0;
    int transparent_ = -1;
};

}  // namespace

std::unique_ptr<RowSource> OpenGifRows(const std::string& path, const ReadOnlyFile& file) {
    auto rows = std::make_unique<GifRows>(path, file);
    rows->ReadHeader();
    return rows;
}
