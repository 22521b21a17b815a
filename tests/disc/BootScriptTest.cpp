#include <gtest/gtest.h>

#include "disc/BootScript.h"

namespace {

// The script's lines, without their CRs.
std::vector<std::string> Lines(const std::string& script) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    for (std::size_t end; (end = script.find('\r', start)) != std::string::npos; start = end + 1) {
        lines.push_back(script.substr(start, end - start));
    }
    EXPECT_EQ(start, script.size()) << "the last line ends with CR";
    return lines;
}

struct ModeCase {
    int screenMode;
    const char* load;
};

TEST(BootScript, OnePictureInEachMode) {
    const std::vector<ModeCase> cases{{0, "*LOAD PIC FFFF3000"},
                                      {1, "*LOAD PIC FFFF3000"},
                                      {2, "*LOAD PIC FFFF3000"},
                                      {4, "*LOAD PIC FFFF5800"},
                                      {5, "*LOAD PIC FFFF5800"}};
    for (const ModeCase& test : cases) {
        SCOPED_TRACE(test.screenMode);
        const std::vector<std::string> lines =
            Lines(BootScript({{"PIC", test.screenMode, DefaultPalette(test.screenMode)}}));
        const std::vector<std::string> wanted{
            "VDU21",
            "NEW",
            "10VDU6:ON ERROR OSCLI\"FX4\":MODE7:IF ERR=17 THEN END ELSE REPORT:PRINT:END",
            "20*FX4,1",
            "30MODE" + std::to_string(test.screenMode) + ":VDU23,1,0;0;0;0;",
            std::string("40") + test.load,
            "50A%=GET",
            "60*FX4",
            "70MODE7",
            "RUN"};
        EXPECT_EQ(lines, wanted);
    }
}

TEST(BootScript, SlideshowSetsEachModeAndPaletteAndCyclesForever) {
    const std::vector<LoaderSlide> slides{
        {"CHELSEA", 2, DefaultPalette(2)}, {"COFFEE", 1, {{0, 4, 6, 7}}}, {"DOCK", 4, {{4, 3}}}};
    const std::vector<std::string> lines = Lines(BootScript(slides));
    const std::vector<std::string> wanted{
        "VDU21",
        "NEW",
        "10VDU6:ON ERROR OSCLI\"FX4\":MODE7:IF ERR=17 THEN END ELSE REPORT:PRINT:END",
        "20*FX4,1",
        "30MODE2:VDU23,1,0;0;0;0;",
        "40*LOAD CHELSEA FFFF3000",
        "50A%=GET",
        "60MODE1:VDU23,1,0;0;0;0;:VDU19,1,4;0;:VDU19,2,6;0;",
        "70*LOAD COFFEE FFFF3000",
        "80A%=GET",
        "90MODE4:VDU23,1,0;0;0;0;:VDU19,0,4;0;:VDU19,1,3;0;",
        "100*LOAD DOCK FFFF5800",
        "110A%=GET",
        "120GOTO30",
        "RUN"};
    EXPECT_EQ(lines, wanted);
}

TEST(BootScript, TeletextPagesAreCopiedFromThePagesFileRunByRun) {
    const std::vector<LoaderSlide> slides{{"", 7, DefaultPalette(7), 0, 0},
                                          {"", 7, DefaultPalette(7), 0, 1},
                                          {"DOCK", 1, DefaultPalette(1)},
                                          {"", 7, DefaultPalette(7), 0, 2}};
    const std::string copy =
        "DEFPROCpage(P%):?B%=F%:B%!1=&FFFF7C00:B%!5=1000:B%!9=P%*1000:A%=3:X%=B%:Y%=B%DIV256:"
        "CALL&FFD1:ENDPROC";
    const std::vector<std::string> wanted{
        "VDU21",
        "NEW",
        "10VDU6:ON ERROR OSCLI\"FX4\":CLOSE#0:MODE7:IF ERR=17 THEN END ELSE REPORT:PRINT:END",
        "20*FX4,1",
        "30DIMB% 12:F%=OPENIN\"!PAGES\"",
        "40MODE7:VDU23,1,0;0;0;0;:FORP%=0TO1:PROCpage(P%):A%=GET:NEXT",
        "50MODE1:VDU23,1,0;0;0;0;",
        "60*LOAD DOCK FFFF3000",
        "70A%=GET",
        "80MODE7:VDU23,1,0;0;0;0;:FORP%=2TO2:PROCpage(P%):A%=GET:NEXT",
        "90GOTO40",
        "100" + copy,
        "RUN"};
    EXPECT_EQ(Lines(BootScript(slides)), wanted);

    const std::vector<std::string> one = Lines(BootScript({slides[0]}));
    const std::vector<std::string> ending(one.end() - 6, one.end());
    EXPECT_EQ(ending, (std::vector<std::string>{"50*FX4", "60CLOSE#0", "70MODE7", "80END",
                                                "90" + copy, "RUN"}));
}

TEST(BootScript, PackedSlidesAreUnpackedAndATapeShowsEachOnce) {
    const std::vector<LoaderSlide> slides{{"DOCK", 4, {{4, 3}}, 0xFFFF7A13},
                                          {"CAT", 2, DefaultPalette(2)}};
    const std::vector<std::string> wanted{
        "VDU21",
        "NEW",
        "10VDU6:ON ERROR OSCLI\"FX4\":MODE7:IF ERR=17 THEN END ELSE REPORT:PRINT:END",
        "20*FX4,1",
        "30*OPT1,0",
        "40*LOAD !UNPACK",
        "50MODE4:HIMEM=&5700:CALL&903",
        "60*LOAD DOCK",
        "70X%=&13:Y%=&7A:CALL&900:VDU19,0,4;0;:VDU19,1,3;0;:A%=GET",
        "80MODE2:VDU23,1,0;0;0;0;",
        "90*LOAD CAT FFFF3000",
        "100A%=GET",
        "110*FX4",
        "120MODE7",
        "RUN"};
    EXPECT_EQ(Lines(BootScript(slides, LoaderMedium::Tape)), wanted);
}

TEST(BootScript, ThePrinterBufferIsFlushedEverySixtyLinesTyped) {
    const std::vector<std::string> lines =
        Lines(BootScript(std::vector<LoaderSlide>(40, {"PIC", 4, DefaultPalette(4)})));
    // VDU21, NEW, 123 numbered lines, RUN, and a flush after lines 600 and 1200 only.
    ASSERT_EQ(lines.size(), 2u + 123 + 1 + 2);
    EXPECT_EQ(lines[2 + 60 - 1], "600MODE4:VDU23,1,0;0;0;0;");
    EXPECT_EQ(lines[2 + 60], "*FX21,3");
    EXPECT_EQ(lines[2 + 60 + 1 + 60 - 1], "1200MODE4:VDU23,1,0;0;0;0;");
    EXPECT_EQ(lines[2 + 60 + 1 + 60], "*FX21,3");
}

}  // namespace
