#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "disc/SlideshowDisc.h"
#include "screen/EncodedScreen.h"

// A conversion put on the slideshow disc that the window builds up.
struct DiscEntry {
    std::uint64_t id = 0;  // stays with the entry as it moves
    std::string picture;   // the file it was converted from; empty for none
    std::string stem;      // what its DFS name comes from: the file's stem, or the name given
    EncodedScreen screen;
    // The room its file takes packed, once the disc's screens have been packed.
    std::optional<ScreenFileSpace> packed;
};

// The pictures of a slideshow disc in the order they show, named as the command-line converter
// names them (DiscNames.h) until the user renames one, so the same pictures in the same order
// make the same disc as `quillix-convert --disc`. With its screens compressed, each is packed
// once, as it is added or when compression is turned on, and counted at its packed size.
class DiscList {
public:
    // Whether the screens go on the disc packed (File > "Compress Screens"): the counts, the
    // refusals and the disc saved follow it. Off at first.
    void SetCompress(bool compress);
    bool Compress() const { return compress_; }

    const std::vector<DiscEntry>& Entries() const { return entries_; }
    std::size_t Size() const { return entries_.size(); }

    // Adds a conversion at the end, named after stem; returns its id.
    std::uint64_t Add(const std::string& picture, const std::string& stem, EncodedScreen screen);
    // Each of these ignores a position past the end.
    void Remove(std::size_t at);
    void Move(std::size_t from, std::size_t to);
    // Gives the entry a DFS name of its own: 1 to 7 letters and digits (in capitals on the disc)
    // that no other entry has. Returns "" when renamed, else why the name is refused.
    std::string Rename(std::size_t at, const std::string& name);

    // The entries' DFS names, in order.
    std::vector<std::string> Names() const;
    // The entries as the disc takes them.
    std::vector<DiscPicture> Pictures() const;
    // Sectors used of the disc (DiscCapacity.h), packed screens at their packed size.
    int SectorsUsed() const;
    // How many more pictures of screenMode fit on a disc of tracks tracks, each counted as it is.
    int MoreThatFit(int screenMode, int tracks) const;
    // Why count more pictures of screenMode cannot be added on tracks tracks, naming how many
    // fit; "" when they fit.
    std::string RefusalToAdd(int count, int screenMode, int tracks) const;

    // Writes the disc image (WriteSlideshowDisc), double-sided when path ends in .dsd, and says
    // what it holds: whole or not at all, FileError on failure, a disc that is full included.
    DiscSummary Save(const std::string& path, int tracks) const;

private:
    std::vector<ScreenFileSpace> Files() const;

    bool compress_ = false;
    std::vector<DiscEntry> entries_;
    std::uint64_t nextId_ = 1;
};
