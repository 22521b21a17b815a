#include "screen/ScreenBytes.h"

#include "platform/picture/PictureBox.h"
#include "screen/EncodeScreen.h"
#include "screen/ScreenGeometry.h"

namespace {

class VectorSink : public ScreenSink {
public:
    explicit VectorSink(std::vector<std::uint8_t>& bytes) : bytes_(bytes) {}
    void Put(const std::uint8_t* bytes, std::size_t count) override {
        bytes_.insert(bytes_.end(), bytes, bytes + count);
    }

private:
    std::vector<std::uint8_t>& bytes_;
};

}  // namespace

std::vector<std::uint8_t> EncodeScreenBytes() {
    PictureBox unseen(kPreviewWidth, kPreviewHeight);
    return EncodeScreenBytes(unseen);
}

std::vector<std::uint8_t> EncodeScreenBytes(PictureBox& preview) {
    return EncodeScreenAndPalette(preview).bytes;
}

EncodedScreen EncodeScreenAndPalette(PictureBox& preview) {
    EncodedScreen screen;
    VectorSink sink(screen.bytes);
    screen.palette = EncodeScreen(sink, preview);
    return screen;
}
