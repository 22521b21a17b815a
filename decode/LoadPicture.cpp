#include "decode/LoadPicture.h"

#include <cstring>
#include <new>
#include <numeric>
#include <vector>

#include "decode/PictureReasons.h"
#include "platform/files/FileError.h"
#include "platform/picture/PictureBox.h"

namespace {

// Puts every row where the upright picture shows it, in the box's layout (0xAARRGGBB; the top
// byte is never read).
class BoxFiller : public RowConsumer {
public:
    BoxFiller(const StoredPicture& picture, const PixelAllocator& allocate)
        : picture_(picture),
          pixels_(allocate(static_cast<std::size_t>(picture.width) *
                           static_cast<std::size_t>(picture.height))),
          rows_(static_cast<std::size_t>(picture.height)) {
        std::iota(rows_.begin(), rows_.end(), 0);
    }

    const std::vector<int>& NeededRows() const override { return rows_; }

    void TakeRow(int row, const std::uint32_t* pixels) override {
        const UprightRow places = UprightPlaces(picture_, row);
        std::uint32_t* out = pixels_.get() + places.first;
        if (places.step == 1) {
            std::memcpy(out, pixels, static_cast<std::size_t>(picture_.width) * sizeof *pixels);
            return;
        }
        for (int x = 0; x < picture_.width; ++x, out += places.step) *out = pixels[x];
    }

    PixelBuffer Take() { return std::move(pixels_); }

private:
    StoredPicture picture_;
    PixelBuffer pixels_;
    std::vector<int> rows_;
};

}  // namespace

void LoadPicture(const std::string& path, PictureBox& box, const PixelAllocator& allocate,
                 Fallback fallback) {
    StoredPicture picture;
    PixelBuffer pixels;
    try {
        const std::unique_ptr<RowSource> rows = OpenPicture(path, fallback);
        picture = rows->Picture();
        BoxFiller filler(picture, allocate);
        rows->Feed(filler);
        pixels = filler.Take();
    } catch (const std::bad_alloc&) {
        throw FileError(path, NoMemoryReason(picture.width, picture.height));
    }
    box.SetPicture(picture.UprightWidth(), picture.UprightHeight(), std::move(pixels),
                   PictureBox::Layout::Argb32);
}
