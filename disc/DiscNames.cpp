#include "disc/DiscNames.h"

#include <cctype>
#include <set>

#include "disc/DfsCatalogue.h"

namespace {

std::string BaseName(const std::string& stem) {
    std::string name;
    for (const char c : stem) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x80 && std::isalnum(byte)) name += static_cast<char>(std::toupper(byte));
        if (name.size() == kDfsNameLength) break;
    }
    return name.empty() ? "PICTURE" : name;
}

}  // namespace

std::vector<std::string> DfsNamesFor(const std::vector<std::string>& stems) {
    std::set<std::string> taken{"!BOOT"};
    std::vector<std::string> names;
    for (const std::string& stem : stems) {
        const std::string base = BaseName(stem);
        std::string name = base;
        for (int number = 1; taken.count(name) != 0; ++number) {
            const std::string suffix = std::to_string(number);
            name = base.substr(0, kDfsNameLength - suffix.size()) + suffix;
        }
        taken.insert(name);
        names.push_back(name);
    }
    return names;
}

std::string DfsTitleFor(const std::string& stem) {
    std::string title;
    for (const char c : stem) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte >= 0x20 && byte < 0x7F && byte != '"') title += c;
        if (title.size() == kDfsTitleLength) break;
    }
    return title;
}
