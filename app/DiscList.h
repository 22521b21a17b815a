#pragma once

#include <cstddef>
#include <cstdint>
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
};

// The pictures of a slideshow disc in the order they show, named as the command-line converter
// names them (DiscNames.h) until the user renames one, so the same pictures in the same order
// make the same disc as `quillix-convert --disc`.
class DiscList {
public:
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
    // Sectors used of the disc (DiscCapacity.h).
    int SectorsUsed() const;
    // How many more pictures of screenMode fit on a disc of tracks tracks.
    int MoreThatFit(int screenMode, int tracks) const;
    // Why count more pictures of screenMode cannot be added on tracks tracks, naming how many
    // fit; "" when they fit.
    std::string RefusalToAdd(int count, int screenMode, int tracks) const;

    // Writes the disc image (WriteSlideshowDisc): whole or not at all, FileError on failure,
    // a disc that is full included.
    void Save(const std::string& path, int tracks) const;

private:
    std::vector<DiscEntry> entries_;
    std::uint64_t nextId_ = 1;
};
