#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>
#include <vector>

#include "disc/DfsCatalogue.h"

// A file to put on a disc, in directory $.
struct DfsFile {
    std::string name;  // 1 to 7 characters, unique on the disc
    std::uint32_t loadAddress = 0;
    std::uint32_t execAddress = 0;
    std::vector<std::uint8_t> data;
};

// The files do not fit: more than 31, or more sectors than the disc has.
class DiscSpaceError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// A whole single-sided image of tracks (40 or 80) tracks, as DFS itself would lay it out: the
// files one after the other from sector 2 in the given order, each from the start of a sector,
// the catalogue listing the last one first. Unused sectors are zero. Raises DiscSpaceError when
// the files do not fit and std::invalid_argument for a bad track count, name or title.
std::vector<std::uint8_t> MakeDfsImage(const std::string& title, DfsBootOption bootOption,
                                       int tracks, const std::vector<DfsFile>& files);

// The sectors free for files on a disc of that many tracks.
inline int FileSectors(int tracks) {
    return tracks * kDfsSectorsPerTrack - kDfsCatalogueSectors;
}
