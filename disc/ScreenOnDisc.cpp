#include "disc/ScreenOnDisc.h"

#include "compress/PackScreen.h"
#include "compress/UnpackScreen.h"
#include "disc/BootScript.h"
#include "disc/DfsCatalogue.h"
#include "screen/ScreenGeometry.h"

namespace {

// A disc's sectors cost about 84,000 cycles of the 2 MHz 6502 each to read (a 20 KB screen in 3.4
// s on the emulated 8271, stepping and settling included); a packed picture also spends about
// 100,000 cycles on blanking and restoring its colours. Since reading goes by whole tracks, a
// few sectors saved may save no time at all, so packing must win by an eighth.
constexpr long kSectorCycles = 84000;
constexpr long kPackedPictureCycles = 100000;

bool Worthwhile(int sectorsSaved, long unpackCycles, LoaderMedium medium) {
    if (medium == LoaderMedium::Tape) return sectorsSaved > 0;
    return 8 * (unpackCycles + kPackedPictureCycles) < 7 * sectorsSaved * kSectorCycles;
}

void CheckLength(const std::vector<std::uint8_t>& screen, int screenMode) {
    if (screen.size() != static_cast<std::size_t>(ScreenMemoryOf(screenMode).screenBytes)) {
        throw std::invalid_argument("not a MODE " + std::to_string(screenMode) + " screen");
    }
}

ScreenOnDisc AsItIs(const std::vector<std::uint8_t>& screen, int screenMode) {
    return {screen, ScreenLoadAddress(screenMode), false, 0};
}

}  // namespace

ScreenOnDisc CheckedPackedFile(const std::vector<std::uint8_t>& screen, int screenMode,
                               const std::vector<std::uint8_t>& packed, LoaderMedium medium) {
    CheckLength(screen, screenMode);
    const auto unpacked = UnpackScreen(packed, screen.size());
    if (!unpacked || unpacked->screen != screen) {
        throw PackingError("the compressed screen does not unpack to the picture");
    }
    const int saved = SectorsFor(screen.size()) - SectorsFor(packed.size());
    if (!Worthwhile(saved, unpacked->Cycles(), medium) || unpacked->slack > kPackedFileRoom) {
        return AsItIs(screen, screenMode);
    }
    const std::uint32_t start = ScreenLoadAddress(screenMode) - unpacked->slack;
    return {packed, start, true, start + static_cast<std::uint32_t>(packed.size())};
}

ScreenOnDisc ScreenFileFor(const std::vector<std::uint8_t>& screen, int screenMode, bool compress,
                           LoaderMedium medium) {
    CheckLength(screen, screenMode);
    // A teletext page is four sectors and three tape blocks: packing it saves next to nothing.
    if (!compress || screenMode == ModeNumber(ScreenMode::Mode7)) return AsItIs(screen, screenMode);
    return CheckedPackedFile(screen, screenMode, PackScreen(screen), medium);
}

int ScreenSectors(const std::vector<std::uint8_t>& screen, int screenMode, bool compress) {
    return SectorsFor(ScreenFileFor(screen, screenMode, compress).data.size());
}
