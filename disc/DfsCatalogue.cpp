#include "disc/DfsCatalogue.h"

#include <algorithm>
#include <stdexcept>

namespace {

// Offsets within the two sectors: sector 0 holds the names, sector 1 the numbers.
constexpr std::size_t kSecondSector = kDfsSectorBytes;
constexpr std::size_t kEntryBytes = 8;
constexpr std::size_t kFirstEntry = 8;
constexpr std::uint32_t kHostBits = 3;  // address bits 16-17 both set: the host's memory

std::uint8_t HighBits(std::uint32_t address) {
    return static_cast<std::uint8_t>((address >> 16) & 3);
}

std::uint32_t Address(std::uint8_t low, std::uint8_t high, std::uint32_t highBits) {
    const std::uint32_t bottom = low | (high << 8);
    return highBits == kHostBits ? 0xFFFF0000u | bottom : (highBits << 16) | bottom;
}

void PutText(std::uint8_t* at, const std::string& text, std::size_t width) {
    for (std::size_t i = 0; i < width; ++i) {
        at[i] = static_cast<std::uint8_t>(i < text.size() ? text[i] : ' ');
    }
}

// A padded text field: it ends at the first NUL, and trailing spaces are padding.
std::string Text(const std::uint8_t* at, std::size_t width) {
    std::string text(reinterpret_cast<const char*>(at), width);
    text = text.substr(0, text.find('\0'));
    const auto end = text.find_last_not_of(' ');
    return end == std::string::npos ? std::string() : text.substr(0, end + 1);
}

void Check(bool sound, const char* what) {
    if (!sound) throw std::invalid_argument(std::string("DFS catalogue: ") + what);
}

void PutEntry(std::uint8_t* names, std::uint8_t* numbers, const DfsEntry& entry) {
    Check(!entry.name.empty() && entry.name.size() <= kDfsNameLength,
          "file name of 1-7 characters");
    Check(entry.length < (1u << 18), "file length below 256 KB");
    Check(entry.startSector >= 0 && entry.startSector < (1 << 10), "start sector below 1024");
    PutText(names, entry.name, kDfsNameLength);
    names[7] = static_cast<std::uint8_t>((entry.directory & 0x7F) | (entry.locked ? 0x80 : 0));
    numbers[0] = entry.loadAddress & 0xFF;
    numbers[1] = (entry.loadAddress >> 8) & 0xFF;
    numbers[2] = entry.execAddress & 0xFF;
    numbers[3] = (entry.execAddress >> 8) & 0xFF;
    numbers[4] = entry.length & 0xFF;
    numbers[5] = (entry.length >> 8) & 0xFF;
    numbers[6] = static_cast<std::uint8_t>(
        HighBits(entry.execAddress) << 6 | HighBits(entry.length) << 4 |
        HighBits(entry.loadAddress) << 2 | ((entry.startSector >> 8) & 3));
    numbers[7] = entry.startSector & 0xFF;
}

DfsEntry GetEntry(const std::uint8_t* names, const std::uint8_t* numbers) {
    DfsEntry entry;
    entry.name = Text(names, kDfsNameLength);
    entry.directory = static_cast<char>(names[7] & 0x7F);
    entry.locked = (names[7] & 0x80) != 0;
    const std::uint8_t mixed = numbers[6];
    entry.loadAddress = Address(numbers[0], numbers[1], (mixed >> 2) & 3);
    entry.execAddress = Address(numbers[2], numbers[3], (mixed >> 6) & 3);
    entry.length = numbers[4] | numbers[5] << 8 | ((mixed >> 4) & 3u) << 16;
    entry.startSector = numbers[7] | (mixed & 3) << 8;
    return entry;
}

}  // namespace

std::vector<std::uint8_t> EncodeCatalogue(const DfsCatalogue& catalogue) {
    Check(catalogue.entries.size() <= kDfsMaxFiles, "at most 31 files");
    Check(catalogue.title.size() <= kDfsTitleLength, "title of at most 12 characters");
    Check(catalogue.cycle >= 0 && catalogue.cycle <= 99, "cycle number 0-99");
    Check(catalogue.sectorCount >= 0 && catalogue.sectorCount < (1 << 10), "sector count");

    std::vector<std::uint8_t> sectors(2 * kDfsSectorBytes, 0);
    std::uint8_t* second = sectors.data() + kSecondSector;
    PutText(sectors.data(), catalogue.title.substr(0, 8), 8);
    PutText(second, catalogue.title.size() > 8 ? catalogue.title.substr(8) : "", 4);
    second[4] = static_cast<std::uint8_t>((catalogue.cycle / 10) << 4 | catalogue.cycle % 10);
    second[5] = static_cast<std::uint8_t>(catalogue.entries.size() * kEntryBytes);
    second[6] = static_cast<std::uint8_t>(static_cast<int>(catalogue.bootOption) << 4 |
                                          ((catalogue.sectorCount >> 8) & 3));
    second[7] = catalogue.sectorCount & 0xFF;
    for (std::size_t i = 0; i < catalogue.entries.size(); ++i) {
        const std::size_t at = kFirstEntry + i * kEntryBytes;
        PutEntry(sectors.data() + at, second + at, catalogue.entries[i]);
    }
    return sectors;
}

DfsCatalogue DecodeCatalogue(const std::uint8_t* image, std::size_t size) {
    Check(size >= 2 * kDfsSectorBytes, "image shorter than the catalogue");
    const std::uint8_t* second = image + kSecondSector;
    Check(second[5] % kEntryBytes == 0 && second[5] / kEntryBytes <= kDfsMaxFiles, "file count");

    DfsCatalogue catalogue;
    std::uint8_t title[kDfsTitleLength];
    std::copy(image, image + 8, title);
    std::copy(second, second + 4, title + 8);
    catalogue.title = Text(title, kDfsTitleLength);
    catalogue.cycle = (second[4] >> 4) * 10 + (second[4] & 0x0F);
    catalogue.bootOption = static_cast<DfsBootOption>((second[6] >> 4) & 3);
    catalogue.sectorCount = second[7] | (second[6] & 3) << 8;
    for (std::size_t at = kFirstEntry; at <= second[5]; at += kEntryBytes) {
        catalogue.entries.push_back(GetEntry(image + at, second + at));
    }
    return catalogue;
}
