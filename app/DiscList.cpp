#include "app/DiscList.h"

#include <algorithm>
#include <cctype>

#include "disc/DfsCatalogue.h"
#include "disc/DiscCapacity.h"
#include "disc/DiscNames.h"

std::uint64_t DiscList::Add(const std::string& picture, const std::string& stem,
                            EncodedScreen screen) {
    entries_.push_back({nextId_, picture, stem, std::move(screen)});
    return nextId_++;
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
    return SlideshowSectors(Pictures());
}

int DiscList::MoreThatFit(int screenMode, int tracks) const {
    return MorePicturesThatFit(Pictures(), screenMode, tracks);
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

void DiscList::Save(const std::string& path, int tracks) const {
    WriteSlideshowDisc(path, Pictures(), tracks);
}
