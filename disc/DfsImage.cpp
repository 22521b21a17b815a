#include "disc/DfsImage.h"

#include <algorithm>
#include <cctype>
#include <set>

namespace {

std::string Folded(const std::string& name) {
    std::string folded = name;
    for (char& c : folded) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return folded;
}

void CheckNames(const std::vector<DfsFile>& files) {
    std::set<std::string> seen;  // DFS matches names whatever their case
    for (const DfsFile& file : files) {
        if (!seen.insert(Folded(file.name)).second) {
            throw std::invalid_argument("two files named " + file.name + " on one disc");
        }
    }
}

}  // namespace

std::vector<std::uint8_t> MakeDfsImage(const std::string& title, DfsBootOption bootOption,
                                       int tracks, const std::vector<DfsFile>& files) {
    if (tracks != 40 && tracks != 80) throw std::invalid_argument("a disc has 40 or 80 tracks");
    CheckNames(files);
    if (files.size() > kDfsMaxFiles) {
        throw DiscSpaceError(std::to_string(files.size()) + " files, but a DFS catalogue holds " +
                             std::to_string(kDfsMaxFiles));
    }
    int needed = 0;
    for (const DfsFile& file : files) needed += SectorsFor(file.data.size());
    if (needed > FileSectors(tracks)) {
        throw DiscSpaceError("the files need " + std::to_string(needed) + " sectors, but a " +
                             std::to_string(tracks) + "-track disc has " +
                             std::to_string(FileSectors(tracks)));
    }

    DfsCatalogue catalogue;
    catalogue.title = title;
    catalogue.bootOption = bootOption;
    catalogue.sectorCount = tracks * kDfsSectorsPerTrack;
    std::vector<std::uint8_t> image(
        static_cast<std::size_t>(catalogue.sectorCount) * kDfsSectorBytes, 0);
    int sector = kDfsCatalogueSectors;
    for (const DfsFile& file : files) {
        std::copy(file.data.begin(), file.data.end(),
                  image.begin() + static_cast<std::ptrdiff_t>(sector) * kDfsSectorBytes);
        catalogue.entries.push_back({file.name, '$', false, file.loadAddress, file.execAddress,
                                     static_cast<std::uint32_t>(file.data.size()), sector});
        sector += SectorsFor(file.data.size());
    }
    std::reverse(catalogue.entries.begin(), catalogue.entries.end());

    const std::vector<std::uint8_t> sectors = EncodeCatalogue(catalogue);
    std::copy(sectors.begin(), sectors.end(), image.begin());
    return image;
}
