#include "colour/PaletteText.h"

#include <array>
#include <cctype>
#include <sstream>

namespace {

constexpr std::array<const char*, 8> kNames{"black", "red",     "green", "yellow",
                                            "blue",  "magenta", "cyan",  "white"};

std::optional<std::uint8_t> ColourNamed(std::string name) {
    for (char& c : name) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    for (std::size_t i = 0; i < kNames.size(); ++i) {
        if (name == kNames[i]) return static_cast<std::uint8_t>(i);
    }
    return std::nullopt;
}

}  // namespace

const char* PhysicalColourName(int physical) {
    return physical >= 0 && physical < 8 ? kNames[physical] : "";
}

std::optional<Palette> ParsePaletteList(const std::string& list) {
    if (list.empty()) return std::nullopt;
    Palette palette;
    std::istringstream names(list);
    std::string name;
    while (std::getline(names, name, ',')) {
        const std::optional<std::uint8_t> colour = ColourNamed(name);
        if (!colour) return std::nullopt;
        palette.physical.push_back(*colour);
    }
    if (list.back() == ',') return std::nullopt;
    return palette;
}

std::string Vdu19Line(const Palette& palette, int screenMode) {
    const Palette standard = DefaultPalette(screenMode);
    std::string commands;
    for (std::size_t logical = 0; logical < palette.physical.size(); ++logical) {
        const int physical = palette.physical[logical];
        if (logical < standard.physical.size() && standard.physical[logical] == physical) continue;
        commands += "19," + std::to_string(logical) + "," + std::to_string(physical) + ";0;";
    }
    return commands.empty() ? "" : "VDU " + commands;
}
