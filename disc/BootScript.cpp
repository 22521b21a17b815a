#include "disc/BootScript.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>

#include "disc/TeletextPages.h"
#include "disc/UnpackingLoader.h"
#include "screen/ScreenGeometry.h"

namespace {

constexpr std::uint32_t kHostMemory = 0xFFFF0000;
constexpr int kEscapeError = 17;

std::string Hex(std::uint32_t value) {
    char text[9];
    std::snprintf(text, sizeof text, "%X", value);
    return text;
}

// With the screen off (VDU 21), the OS still puts the CR of each line typed into the printer's
// 64-byte buffer, which without a printer never empties: typing stops at the 64th line. Every
// 60 lines the buffer is flushed (*FX21,3), typed without a line number.
constexpr int kLinesBetweenFlushes = 60;

// One line of BASIC: its number, then its statements.
struct Program {
    std::string text;
    int number = 0;
    void Line(const std::string& statements) {
        number += 10;
        text += std::to_string(number) + statements + "\r";
        if (number % (10 * kLinesBetweenFlushes) == 0) text += "*FX21,3\r";
    }
};

}  // namespace

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

std::uint32_t ScreenLoadAddress(int screenMode) {
    return kHostMemory | ScreenMemoryOf(screenMode).startAddress;
}

std::string BootScript(const std::vector<LoaderSlide>& slides, LoaderMedium medium) {
    // VDU 21 keeps the typing off the screen; the program's first statement turns output on.
    Program program;
    program.text = "VDU21\r";
    // A disc loads the routine while its head is still on the first track.
    const bool packed = AnyPacked(slides);
    if (packed && medium == LoaderMedium::Disc) program.text += UnpackRoutineLoad() + "\r";
    program.text += "NEW\r";
    const bool pages = std::any_of(slides.begin(), slides.end(),
                                   [](const LoaderSlide& slide) { return slide.page >= 0; });
    program.Line("VDU6:ON ERROR OSCLI\"FX4\":" + std::string(pages ? "CLOSE#0:" : "") +
                 "MODE7:IF ERR=" + std::to_string(kEscapeError) +
                 " THEN END ELSE REPORT:PRINT:END");
    // Cursor keys give key codes instead of starting the copy cursor.
    program.Line("*FX4,1");
    if (pages) program.Line(OpenPagesStatement());
    if (medium == LoaderMedium::Tape) program.Line("*OPT1,0");
    if (packed && medium == LoaderMedium::Tape) program.Line(UnpackRoutineLoad());
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
        if (slide.packedEnd != 0) {
            for (const std::string& line : UnpackingSlideLines(slide)) program.Line(line);
            continue;
        }
        program.Line("MODE" + std::to_string(slide.screenMode) + ":VDU23,1,0;0;0;0;" +
                     PaletteStatements(slide));
        program.Line("*LOAD " + slide.name + " " + Hex(ScreenLoadAddress(slide.screenMode)));
        program.Line("A%=GET");
    }
    const bool loops = slides.size() > 1 && medium == LoaderMedium::Disc;
    if (loops) {
        program.Line("GOTO" + std::to_string(first));
    } else {
        program.Line("*FX4");
        if (pages) program.Line("CLOSE#0");
        program.Line("MODE7");
    }
    if (pages) {
        if (!loops) program.Line("END");
        program.Line(CopyPageProcedure());
    }
    return program.text + "RUN\r";
}
