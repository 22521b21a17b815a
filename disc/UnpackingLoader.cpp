#include "disc/UnpackingLoader.h"

#include <algorithm>
#include <cstdio>

#include "compress/UnpackRoutine.h"
#include "disc/ScreenOnDisc.h"

namespace {

// "&3C" for the BASIC program.
std::string Hex(std::uint32_t value) {
    char text[8];
    std::snprintf(text, sizeof text, "&%X", value);
    return text;
}

}  // namespace

bool AnyPacked(const std::vector<LoaderSlide>& slides) {
    return std::any_of(slides.begin(), slides.end(),
                       [](const LoaderSlide& slide) { return slide.packedEnd != 0; });
}

std::string UnpackRoutineLoad() {
    return std::string("*LOAD ") + kUnpackFileName;
}

std::vector<std::string> UnpackingSlideLines(const LoaderSlide& slide) {
    const std::uint32_t screen = ScreenLoadAddress(slide.screenMode) & 0xFFFF;
    return {"MODE" + std::to_string(slide.screenMode) + ":HIMEM=" + Hex(screen - kPackedFileRoom) +
                ":CALL" + Hex(kBlankEntry),
            "*LOAD " + slide.name,
            "X%=" + Hex(slide.packedEnd & 0xFF) + ":Y%=" + Hex(slide.packedEnd >> 8 & 0xFF) +
                ":CALL" + Hex(kUnpackEntry) + PaletteStatements(slide) + ":A%=GET"};
}
