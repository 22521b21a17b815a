#include "platform/registry/RegistryOverlay.h"

#include <algorithm>
#include <cctype>
#include <sstream>

namespace {

std::string Trimmed(const std::string& text) {
    const auto isBlank = [](unsigned char c) { return c == ' ' || c == '\t' || c == '\r'; };
    std::size_t first = 0;
    std::size_t last = text.size();
    while (first < last && isBlank(text[first])) ++first;
    while (last > first && isBlank(text[last - 1])) --last;
    return text.substr(first, last - first);
}

bool StartsWithNoCase(const std::string& text, const std::string& prefix) {
    if (text.size() < prefix.size()) return false;
    return std::equal(prefix.begin(), prefix.end(), text.begin(), [](char a, char b) {
        return std::tolower(static_cast<unsigned char>(a)) ==
               std::tolower(static_cast<unsigned char>(b));
    });
}

// The key path under HKEY_LOCAL_MACHINE named by a section header's inside, or "" for another
// root.
std::string KeyUnderLocalMachine(const std::string& header) {
    for (const std::string root : {"HKEY_LOCAL_MACHINE\\", "HKLM\\"}) {
        if (StartsWithNoCase(header, root)) return header.substr(root.size());
    }
    return "";
}

bool ParseDword(const std::string& digits, std::uint32_t& number) {
    if (digits.empty() || digits.size() > 8) return false;
    number = 0;
    for (const char c : digits) {
        if (!std::isxdigit(static_cast<unsigned char>(c))) return false;
        const int digit = std::isdigit(static_cast<unsigned char>(c))
                              ? c - '0'
                              : std::tolower(static_cast<unsigned char>(c)) - 'a' + 10;
        number = number * 16 + static_cast<std::uint32_t>(digit);
    }
    return true;
}

}  // namespace

ParsedOverlay ParseRegistryOverlay(const std::string& text) {
    ParsedOverlay parsed;
    std::istringstream lines(text);
    std::string line;
    std::string key;
    bool inKey = false;
    bool underBadHeader = false;  // its values go with it, without a warning each
    int number = 0;
    const auto skip = [&](const std::string& reason) {
        parsed.problems.push_back({number, reason});
    };

    while (std::getline(lines, line)) {
        ++number;
        const std::string item = Trimmed(line);
        if (item.empty() || item[0] == '#' || item[0] == ';') continue;

        if (item[0] == '[') {
            inKey = false;
            underBadHeader = true;
            if (item.back() != ']') {
                skip("a key header must end with ']'");
                continue;
            }
            key = Trimmed(KeyUnderLocalMachine(Trimmed(item.substr(1, item.size() - 2))));
            while (!key.empty() && key.back() == '\\') key.pop_back();
            if (key.empty()) {
                skip("only keys under HKEY_LOCAL_MACHINE (or HKLM) can be given");
                continue;
            }
            inKey = true;
            underBadHeader = false;
            if (!parsed.keys.HasKey(key)) {
                parsed.keys.AddKey(key);
                parsed.keyPaths.push_back(key);
            }
            continue;
        }

        const std::size_t equals = item.find('=');
        if (equals == std::string::npos) {
            skip("expected [key] or name = value");
            continue;
        }
        if (!inKey) {
            if (underBadHeader) continue;
            skip("a value needs a [key] line above it");
            continue;
        }
        const std::string name = Trimmed(item.substr(0, equals));
        const std::string value = Trimmed(item.substr(equals + 1));
        if (name.empty()) {
            skip("the value has no name");
            continue;
        }
        if (value.size() >= 2 && value.front() == '"' && value.back() == '"') {
            parsed.keys.SetValue(key, name, TextValue(value.substr(1, value.size() - 2)));
        } else if (StartsWithNoCase(value, "dword:")) {
            std::uint32_t dword = 0;
            if (!ParseDword(value.substr(6), dword)) {
                skip("dword: needs 1 to 8 hexadecimal digits");
                continue;
            }
            parsed.keys.SetValue(key, name, DwordValue(dword));
        } else {
            parsed.keys.SetValue(key, name, TextValue(value));
        }
    }
    return parsed;
}
