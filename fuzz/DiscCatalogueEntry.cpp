#include <cstdlib>
#include <stdexcept>
#include <vector>

#include "disc/DfsCatalogue.h"
#include "fuzz/FuzzEntries.h"

namespace {

void Check(bool promise) {
    if (!promise) std::abort();
}

bool SameEntry(const DfsEntry& a, const DfsEntry& b) {
    return a.name == b.name && a.directory == b.directory && a.locked == b.locked &&
           a.loadAddress == b.loadAddress && a.execAddress == b.execAddress &&
           a.length == b.length && a.startSector == b.startSector;
}

bool SameCatalogue(const DfsCatalogue& a, const DfsCatalogue& b) {
    if (a.title != b.title || a.cycle != b.cycle || a.bootOption != b.bootOption ||
        a.sectorCount != b.sectorCount || a.entries.size() != b.entries.size()) {
        return false;
    }
    for (std::size_t i = 0; i < a.entries.size(); ++i) {
        if (!SameEntry(a.entries[i], b.entries[i])) return false;
    }
    return true;
}

}  // namespace

void RunDiscCatalogueInput(const std::uint8_t* data, std::size_t size) {
    DfsCatalogue read;
    try {
        read = DecodeCatalogue(data, size);
    } catch (const std::invalid_argument&) {
        return;
    }
    Check(read.entries.size() <= kDfsMaxFiles && read.title.size() <= kDfsTitleLength);
    for (const DfsEntry& entry : read.entries) Check(entry.name.size() <= kDfsNameLength);

    // What was read, written back, reads the same; a catalogue that DFS could not hold (an empty
    // name, a cycle number beyond two decimal digits) is refused rather than written.
    std::vector<std::uint8_t> written;
    try {
        written = EncodeCatalogue(read);
    } catch (const std::invalid_argument&) {
        return;
    }
    Check(SameCatalogue(DecodeCatalogue(written.data(), written.size()), read));
}
