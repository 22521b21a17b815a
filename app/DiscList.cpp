#include "app/DiscList.h"

#include <algorithm>
#include <cctype>
#include <exception>

#include "disc/DfsCatalogue.h"
#include "disc/DiscCapacity.h"
#include "disc/DiscNames.h"
#include "disc/ScreenOnDisc.h"

namespace {

// Packs the entry's screen once, to count the room it takes on a disc.
void Pack(DiscEntry& entry) {
    if (entry.packed) return;
    const int mode = ModeNumber(entry.screen.screenMode);
    try {
        const ScreenOnDisc file = ScreenFileFor(entry.screen.bytes, mode, true);
        entry.packed = ScreenFileSpace{SectorsFor(file.data.size()), file.packedEnd};
    } catch (const std::exception&) {
        // Counted as it is; saving the disc reports why it cannot be packed.
        entry.packed = ScreenFileSpace{SectorsFor(entry.screen.bytes.size()), 0};
    }
}

}  // namespace

void DiscList::SetCompress(bool compress) {
    compress_ = compress;
    if (compress_) {
        for (DiscEntry& entry : entries_) Pack(entry);
    }
}

std::uint64_t DiscList::Add(const std::string& picture, const std::string& stem,
                            EncodedScreen screen) {
    entries_.push_back({nextId_, picture, stem, std::move(screen), std::nullopt});
    if (compress_) Pack(entries_.back());
    return nextId_++;
}

std::vector<ScreenFileSpace> DiscList::Files() const {
    std::vector<ScreenFileSpace> files;
    for (const DiscEntry& entry : entries_) {
        files.push_back(compress_ && entry.packed
                            ? *entry.packed
                            : ScreenFileSpace{SectorsFor(entry.screen.bytes.size()), 0});
    }
    return files;
}

void DiscList::Remove(std::size_t at) {
    if (at < entries_.size()) entries_.erase(entries_.begin() + static_cast<std::ptrdiff_t>(at));
}

void DiscList::Move(std::size_t from, std::size_t to) {
    if (from >= entries_.size() || to >= entries_.size()) return;
    DiscEntry entry = std::move(entries_[from]);
    entries_.erase(entries_.begin() + static_cast<std::ptrdiff_t>(from));
    entries_.insert(entries_.begin() + static_cast<std::ptrdiff_t>(to), std::move(entry));
}

std::string DiscList::Rename(std::size_t at, const std::string& name) {
    if (at >= entries_.size()) return "there is no such picture on the disc";
    std::string upper;
    for (const char c : name) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte >= 0x80 || !std::isalnum(byte))
            return "a name on this disc is 1 to 7 letters and digits";
        upper += static_cast<char>(std::toupper(byte));
    }
    if (upper.empty() || upper.size() > kDfsNameLength)
        return "a name on this disc is 1 to 7 letters and digits";
    const std::vector<std::string> names = Names();
    for (std::size_t i = 0; i < names.size(); ++i) {
        if (i != at && names[i] == upper) return upper + " is the name of another picture";
    }
    entries_[at].stem = upper;
    return "";
}

std::vector<std::string> DiscList::Names() const {
    std::vector<std::string> stems;
    for (const DiscEntry& entry : entries_) stems.push_back(entry.stem);
    return DfsNamesFor(stems);
}

std::vector<DiscPicture> DiscList::Pictures() const {
    std::vector<DiscPicture> pictures;
    for (const DiscEntry& entry : entries_) {
        pictures.push_back({entry.stem, ModeNumber(entry.screen.screenMode), entry.screen.palette,
                            entry.screen.bytes});
    }
    return pictures;
}

int DiscList::SectorsUsed() const {
    return SlideshowSectors(Pictures(), Files());
}

int DiscList::MoreThatFit(int screenMode, int tracks) const {
    return MorePicturesThatFit(Pictures(), Files(), screenMode, tracks);
}

std::string DiscList::RefusalToAdd(int count, int screenMode, int tracks) const {
    const int more = MoreThatFit(screenMode, tracks);
    if (count <= more) return "";
    const std::string mode = "MODE " + std::to_string(screenMode);
    const std::string asked =
        count == 1 ? "another " + mode + " picture does not fit"
                   : std::to_string(count) + " more " + mode + " pictures do not fit";
    const std::string room =
        more == 0 ? "none does" : std::to_string(more) + " more " + (more == 1 ? "does" : "do");
    return "The disc is full: " + asked + " on " + std::to_string(tracks) + " tracks; " + room +
           ".";
}

DiscSummary DiscList::Save(const std::string& path, int tracks) const {
    return WriteSlideshowDisc(path, Pictures(),
                              DiscFormat{tracks, IsDoubleSidedName(path), compress_});
}
