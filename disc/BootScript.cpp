#include "disc/BootScript.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>

#include "disc/TeletextPages.h"
#include "screen/ScreenGeometry.h"

namespace {

constexpr std::uint32_t kHostMemory = 0xFFFF0000;
constexpr int kEscapeError = 17;

std::string Hex(std::uint32_t value) {
    char text[9];
    std::snprintf(text, sizeof text, "%X", value);
    return text;
}

// One line of BASIC: its number, then its statements.
struct Program {
    std::string text;
    int number = 0;
    void Line(const std::string& statements) {
        number += 10;
        text += std::to_string(number) + statements + "\r";
    }
};

std::string PaletteStatements(const LoaderSlide& slide) {
    const Palette standard = DefaultPalette(slide.screenMode);
    std::string statements;
    for (std::size_t logical = 0; logical < slide.palette.physical.size(); ++logical) {
        if (logical < standard.physical.size() &&
            slide.palette.physical[logical] == standard.physical[logical]) {
            continue;
        }
        statements += ":VDU19," + std::to_string(logical) + "," +
                      std::to_string(slide.palette.physical[logical]) + ";0;";
    }
    return statements;
}

}  // namespace

std::uint32_t ScreenLoadAddress(int screenMode) {
    return kHostMemory | ScreenMemoryOf(screenMode).startAddress;
}

std::string BootScript(const std::vector<LoaderSlide>& slides) {
    const bool pages = std::any_of(slides.begin(), slides.end(),
                                   [](const LoaderSlide& slide) { return slide.page >= 0; });
    // VDU 21 keeps the typing off the screen; the program's first statement turns output on.
    Program program;
    program.text = "VDU21\rNEW\r";
    program.Line("VDU6:ON ERROR OSCLI\"FX4\":" + std::string(pages ? "CLOSE#0:" : "") +
                 "MODE7:IF ERR=" + std::to_string(kEscapeError) + " THEN END ELSE REPORT:PRINT:END");
    // Cursor keys give key codes instead of starting the copy cursor.
    program.Line("*FX4,1");
    if (pages) program.Line(OpenPagesStatement());
    const int first = program.number + 10;
    for (std::size_t i = 0; i < slides.size(); ++i) {
        const LoaderSlide& slide = slides[i];
        if (slide.page >= 0) {
            std::size_t last = i;
            while (last + 1 < slides.size() && slides[last + 1].page == slides[last].page + 1)
                ++last;
            program.Line(PageRunStatement(slide.page, slides[last].page));
            i = last;
            continue;
        }
        program.Line("MODE" + std::to_string(slide.screenMode) + ":VDU23,1,0;0;0;0;" +
                     PaletteStatements(slide));
        program.Line("*LOAD " + slide.name + " " + Hex(ScreenLoadAddress(slide.screenMode)));
        program.Line("A%=GET");
    }
    if (slides.size() > 1) {
        program.Line("GOTO" + std::to_string(first));
    } else {
        program.Line("*FX4");
        if (pages) program.Line("CLOSE#0");
        program.Line("MODE7");
    }
    if (pages) {
        if (slides.size() == 1) program.Line("END");
        program.Line(CopyPageProcedure());
    }
    return program.text + "RUN\r";
}
