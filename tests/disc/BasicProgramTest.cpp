// Tokenised BASIC worked out by hand from BBC BASIC II's token table and line format.
#include <gtest/gtest.h>

#include "disc/BasicProgram.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

// A program of one line: CR, number high and low, length, text; then CR and &FF.
Bytes Line(int number, const Bytes& text) {
    Bytes line;
    line.push_back(0x0D);
    line.push_back(static_cast<std::uint8_t>(number >> 8));
    line.push_back(static_cast<std::uint8_t>(number & 0xFF));
    line.push_back(static_cast<std::uint8_t>(text.size() + 4));
    for (const std::uint8_t byte : text) line.push_back(byte);
    line.push_back(0x0D);
    line.push_back(0xFF);
    return line;
}

Bytes Text(const std::string& text) {
    return {text.begin(), text.end()};
}

TEST(BasicProgram, LinesTokenisedAsBasicStoresThem) {
    const struct {
        const char* line;
        Bytes wanted;
    } cases[] = {
        {"10MODE7", Line(10, {0xEB, '7'})},
        // GOTO's line number: &8D, then (30 & &C0) >> 2 XOR &54, 30 OR &40, 0 OR &40.
        {"20GOTO30", Line(20, {0xE5, 0x8D, 0x54, 0x5E, 0x40})},
        {"30GOTO1000", Line(30, {0xE5, 0x8D, 0x64, 0x68, 0x43})},
        {"40*LOAD MODE FFFF3000", Line(40, Text("*LOAD MODE FFFF3000"))},
        {"50A%=GET", Line(50, {'A', '%', '=', 0xA5})},
        {"60VDU6:ON ERROR OSCLI\"FX4\":IF ERR=17 THEN END ELSE REPORT:PRINT:END",
         Line(60, {0xEF, '6',  ':', 0xEE, ' ', 0x85, ' ', 0xFF, '"', 'F', 'X',
                   '4',  '"',  ':', 0xE7, ' ', 0x9F, '=', '1',  '7', ' ', 0x8C,
                   ' ',  0xE0, ' ', 0x8B, ' ', 0xF6, ':', 0xF1, ':', 0xE0})},
        // Hexadecimal letters are no keyword; HIMEM where a statement starts is &D3.
        {"70X%=&DEF:CALL&900:HIMEM=&2E00",
         Line(70, {'X', '%', '=', '&',  'D', 'E', 'F', ':', 0xD6, '&', '9',
                   '0', '0', ':', 0xD3, '=', '&', '2', 'E', '0',  '0'})},
        {"80VDU20:VDU19,1,4;0;",
         Line(80, {0xEF, '2', '0', ':', 0xEF, '1', '9', ',', '1', ',', '4', ';', '0', ';'})},
    };
    for (const auto& test : cases) {
        SCOPED_TRACE(test.line);
        EXPECT_EQ(TokenisedProgram(std::string(test.line) + "\r"), test.wanted);
    }
}

TEST(BasicProgram, LinesWithoutNumbersAreLeftOutAndBadOnesRefused) {
    EXPECT_EQ(TokenisedProgram("VDU21\rNEW\r10END\rRUN\r"), Line(10, {0xE0}));
    EXPECT_THROW(TokenisedProgram("32768END\r"), std::invalid_argument);
    EXPECT_THROW(TokenisedProgram("10REM" + std::string(260, 'x') + "\r"), std::invalid_argument);
}

}  // namespace
