#include "disc/BasicProgram.h"

#include <cctype>
#include <stdexcept>
#include <utility>

namespace {

// BBC BASIC II's keywords and their tokens.
const std::vector<std::pair<std::string, std::uint8_t>>& Keywords() {
    static const std::vector<std::pair<std::string, std::uint8_t>> keywords{
        {"AND", 0x80},     {"DIV", 0x81},     {"EOR", 0x82},     {"MOD", 0x83},
        {"OR", 0x84},      {"ERROR", 0x85},   {"LINE", 0x86},    {"OFF", 0x87},
        {"STEP", 0x88},    {"SPC", 0x89},     {"TAB(", 0x8A},    {"ELSE", 0x8B},
        {"THEN", 0x8C},    {"OPENIN", 0x8E},  {"PTR", 0x8F},     {"PAGE", 0x90},
        {"TIME", 0x91},    {"LOMEM", 0x92},   {"HIMEM", 0x93},   {"ABS", 0x94},
        {"ACS", 0x95},     {"ADVAL", 0x96},   {"ASC", 0x97},     {"ASN", 0x98},
        {"ATN", 0x99},     {"BGET", 0x9A},    {"COS", 0x9B},     {"COUNT", 0x9C},
        {"DEG", 0x9D},     {"ERL", 0x9E},     {"ERR", 0x9F},     {"EVAL", 0xA0},
        {"EXP", 0xA1},     {"EXT", 0xA2},     {"FALSE", 0xA3},   {"FN", 0xA4},
        {"GET", 0xA5},     {"INKEY", 0xA6},   {"INSTR(", 0xA7},  {"INT", 0xA8},
        {"LEN", 0xA9},     {"LN", 0xAA},      {"LOG", 0xAB},     {"NOT", 0xAC},
        {"OPENUP", 0xAD},  {"OPENOUT", 0xAE}, {"PI", 0xAF},      {"POINT(", 0xB0},
        {"POS", 0xB1},     {"RAD", 0xB2},     {"RND", 0xB3},     {"SGN", 0xB4},
        {"SIN", 0xB5},     {"SQR", 0xB6},     {"TAN", 0xB7},     {"TO", 0xB8},
        {"TRUE", 0xB9},    {"USR", 0xBA},     {"VAL", 0xBB},     {"VPOS", 0xBC},
        {"CHR$", 0xBD},    {"GET$", 0xBE},    {"INKEY$", 0xBF},  {"LEFT$(", 0xC0},
        {"MID$(", 0xC1},   {"RIGHT$(", 0xC2}, {"STR$", 0xC3},    {"STRING$(", 0xC4},
        {"EOF", 0xC5},     {"AUTO", 0xC6},    {"DELETE", 0xC7},  {"LOAD", 0xC8},
        {"LIST", 0xC9},    {"NEW", 0xCA},     {"OLD", 0xCB},     {"RENUMBER", 0xCC},
        {"SAVE", 0xCD},    {"SOUND", 0xD4},   {"BPUT", 0xD5},    {"CALL", 0xD6},
        {"CHAIN", 0xD7},   {"CLEAR", 0xD8},   {"CLOSE", 0xD9},   {"CLG", 0xDA},
        {"CLS", 0xDB},     {"DATA", 0xDC},    {"DEF", 0xDD},     {"DIM", 0xDE},
        {"DRAW", 0xDF},    {"END", 0xE0},     {"ENDPROC", 0xE1}, {"ENVELOPE", 0xE2},
        {"FOR", 0xE3},     {"GOSUB", 0xE4},   {"GOTO", 0xE5},    {"GCOL", 0xE6},
        {"IF", 0xE7},      {"INPUT", 0xE8},   {"LET", 0xE9},     {"LOCAL", 0xEA},
        {"MODE", 0xEB},    {"MOVE", 0xEC},    {"NEXT", 0xED},    {"ON", 0xEE},
        {"VDU", 0xEF},     {"PLOT", 0xF0},    {"PRINT", 0xF1},   {"PROC", 0xF2},
        {"READ", 0xF3},    {"REM", 0xF4},     {"REPEAT", 0xF5},  {"REPORT", 0xF6},
        {"RESTORE", 0xF7}, {"RETURN", 0xF8},  {"RUN", 0xF9},     {"STOP", 0xFA},
        {"COLOUR", 0xFB},  {"TRACE", 0xFC},   {"UNTIL", 0xFD},   {"WIDTH", 0xFE},
        {"OSCLI", 0xFF}};
    return keywords;
}

constexpr std::uint8_t kLineNumberToken = 0x8D;
constexpr std::uint8_t kRem = 0xF4;
constexpr std::uint8_t kData = 0xDC;
// PTR, PAGE, TIME, LOMEM and HIMEM have a second token, 0x40 higher, where a statement starts.
constexpr std::uint8_t kFirstPseudoVariable = 0x8F;
constexpr std::uint8_t kLastPseudoVariable = 0x93;
constexpr std::uint8_t kStatementForm = 0x40;
constexpr std::size_t kMaxLineBytes = 255;

bool TakesLineNumber(std::uint8_t token) {
    return token == 0xE5 || token == 0xE4 || token == 0x8C || token == 0x8B || token == 0xF7;
}

// The longest keyword at text[at], or none.
const std::pair<std::string, std::uint8_t>* KeywordAt(const std::string& text, std::size_t at) {
    const std::pair<std::string, std::uint8_t>* found = nullptr;
    for (const auto& keyword : Keywords()) {
        if (text.compare(at, keyword.first.size(), keyword.first) == 0 &&
            (found == nullptr || keyword.first.size() > found->first.size())) {
            found = &keyword;
        }
    }
    return found;
}

// BASIC's three bytes for a line number: the top two bits of each byte gathered in the first.
void PutLineNumber(std::vector<std::uint8_t>& out, int number) {
    const int low = number & 0xFF;
    const int high = number >> 8;
    out.push_back(kLineNumberToken);
    out.push_back(static_cast<std::uint8_t>(((low & 0xC0) >> 2 | (high & 0xC0) >> 4) ^ 0x54));
    out.push_back(static_cast<std::uint8_t>((low & 0x3F) | 0x40));
    out.push_back(static_cast<std::uint8_t>((high & 0x3F) | 0x40));
}

std::vector<std::uint8_t> Tokenised(const std::string& text) {
    std::vector<std::uint8_t> out;
    bool statementStart = true;
    bool lineNumberNext = false;
    std::size_t at = 0;
    const auto rest = [&] {
        out.insert(out.end(), text.begin() + static_cast<std::ptrdiff_t>(at), text.end());
        at = text.size();
    };
    while (at < text.size()) {
        const char c = text[at];
        const auto byte = static_cast<unsigned char>(c);
        if (c == ' ') {
            out.push_back(' ');
            ++at;
        } else if (c == '"') {
            const std::size_t end = text.find('"', at + 1);
            const std::size_t stop = end == std::string::npos ? text.size() : end + 1;
            out.insert(out.end(), text.begin() + static_cast<std::ptrdiff_t>(at),
                       text.begin() + static_cast<std::ptrdiff_t>(stop));
            at = stop;
            statementStart = lineNumberNext = false;
        } else if (c == '*' && statementStart) {
            rest();
        } else if (c == '&') {
            // A hexadecimal number, whose letters are no keyword.
            do {
                out.push_back(static_cast<std::uint8_t>(text[at++]));
            } while (at < text.size() && std::isxdigit(static_cast<unsigned char>(text[at])));
            statementStart = lineNumberNext = false;
        } else if (std::isdigit(byte) && lineNumberNext) {
            std::size_t end = at;
            while (end < text.size() && std::isdigit(static_cast<unsigned char>(text[end]))) ++end;
            PutLineNumber(out, std::stoi(text.substr(at, end - at)));
            at = end;
        } else if (const auto* keyword = std::isupper(byte) ? KeywordAt(text, at) : nullptr) {
            std::uint8_t token = keyword->second;
            if (statementStart && token >= kFirstPseudoVariable && token <= kLastPseudoVariable) {
                token += kStatementForm;
            }
            out.push_back(token);
            at += keyword->first.size();
            if (token == kRem || token == kData) rest();
            lineNumberNext = TakesLineNumber(token);
            statementStart = token == 0x8C || token == 0x8B;  // THEN and ELSE start statements
        } else if (std::isalpha(byte)) {
            // A variable's name, which holds no keywords.
            while (at < text.size() &&
                   (std::isalnum(static_cast<unsigned char>(text[at])) || text[at] == '_')) {
                out.push_back(static_cast<std::uint8_t>(text[at++]));
            }
            statementStart = lineNumberNext = false;
        } else {
            out.push_back(byte);
            ++at;
            statementStart = c == ':';
            lineNumberNext = lineNumberNext && c == ',';
        }
    }
    return out;
}

}  // namespace

std::vector<std::uint8_t> TokenisedProgram(const std::string& lines) {
    std::vector<std::uint8_t> program;
    std::size_t start = 0;
    while (start < lines.size()) {
        std::size_t end = lines.find('\r', start);
        if (end == std::string::npos) end = lines.size();
        const std::string line = lines.substr(start, end - start);
        start = end + 1;
        std::size_t digits = 0;
        while (digits < line.size() && std::isdigit(static_cast<unsigned char>(line[digits]))) {
            ++digits;
        }
        if (digits == 0) continue;
        const int number = digits <= 5 ? std::stoi(line.substr(0, digits)) : 1 << 16;
        if (number > 32767) throw std::invalid_argument("BASIC line number above 32767");
        const std::vector<std::uint8_t> text = Tokenised(line.substr(digits));
        if (text.size() + 4 > kMaxLineBytes) throw std::invalid_argument("BASIC line too long");
        program.push_back('\r');
        program.push_back(static_cast<std::uint8_t>(number >> 8));
        program.push_back(static_cast<std::uint8_t>(number & 0xFF));
        program.push_back(static_cast<std::uint8_t>(text.size() + 4));
        program.insert(program.end(), text.begin(), text.end());
    }
    program.push_back('\r');
    program.push_back(0xFF);
    return program;
}
