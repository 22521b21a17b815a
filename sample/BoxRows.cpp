#include "sample/BoxRows.h"

#include "platform/picture/PictureBox.h"

BoxRows::BoxRows(const PictureBox& box) : box_(box) {
    picture_.width = box.Width();
    picture_.height = box.Height();
}

void BoxRows::Feed(RowConsumer& consumer) {
    const bool decoded = box_.PixelLayout() == PictureBox::Layout::Argb32;
    if (!decoded) row_.resize(static_cast<std::size_t>(picture_.width));
    for (const int y : consumer.NeededRows()) {
        if (y >= picture_.height) break;
        const std::uint32_t* pixels = box_.Row(y);
        if (!decoded) {
            // Red in bits 0..7 to red in bits 16..23.
            for (std::size_t x = 0; x < row_.size(); ++x) {
                const std::uint32_t v = pixels[x];
                row_[x] = (v & 0xFF) << 16 | (v & 0xFF00) | ((v >> 16) & 0xFF);
            }
            pixels = row_.data();
        }
        consumer.TakeRow(y, pixels);
    }
}
