#include "disc/ScreenOnDisc.h"

#include "compress/PackScreen.h"
#include "compress/UnpackScreen.h"
#include "disc/BootScript.h"
#include "disc/DfsCatalogue.h"
#include "screen/ScreenGeometry.h"

namespace {

void CheckLength(const std::vector<std::uint8_t>& screen, int screenMode) {
    if (screen.size() != static_cast<std::size_t>(GeometryOf(screenMode).screenBytes)) {
        throw std::invalid_argument("not a MODE " + std::to_string(screenMode) + " screen");
    }
}

ScreenOnDisc AsItIs(const std::vector<std::uint8_t>& screen, int screenMode) {
    return {screen, ScreenLoadAddress(screenMode), false, 0};
}

}  // namespace

ScreenOnDisc CheckedPackedFile(const std::vector<std::uint8_t>& screen, int screenMode,
                               const std::vector<std::uint8_t>& packed) {
    CheckLength(screen, screenMode);
    const auto unpacked = UnpackScreen(packed, screen.size());
    if (!unpacked || unpacked->screen != screen) {
        throw PackingError("the compressed screen does not unpack to the picture");
    }
    if (SectorsFor(packed.size()) >= SectorsFor(screen.size()) ||
        unpacked->slack > kPackedFileRoom) {
        return AsItIs(screen, screenMode);
    }
    const std::uint32_t start = ScreenLoadAddress(screenMode) - unpacked->slack;
    return {packed, start, true, start + static_cast<std::uint32_t>(packed.size())};
}

ScreenOnDisc ScreenFileFor(const std::vector<std::uint8_t>& screen, int screenMode, bool compress) {
    CheckLength(screen, screenMode);
    if (!compress) return AsItIs(screen, screenMode);
    return CheckedPackedFile(screen, screenMode, PackScreen(screen));
}

int ScreenSectors(const std::vector<std::uint8_t>& screen, int screenMode, bool compress) {
    return SectorsFor(ScreenFileFor(screen, screenMode, compress).data.size());
}
