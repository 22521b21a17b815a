#include "disc/DiscCapacity.h"

#include "disc/DfsImage.h"

int SlideshowSectors(const std::vector<DiscPicture>& pictures) {
    return kDfsCatalogueSectors + SlideshowFileSectors(pictures);
}

int MorePicturesThatFit(const std::vector<DiscPicture>& pictures, int screenMode, int tracks) {
    const int disc = tracks * kDfsSectorsPerTrack;
    // The loader grows with each picture, so the count is found by adding them one at a time.
    std::vector<DiscPicture> more = pictures;
    int added = -1;
    do {
        more.push_back({"P", screenMode, DefaultPalette(screenMode), {}});
        ++added;
    } while (SlideshowFileCount(more) <= static_cast<std::size_t>(kDfsMaxFiles) &&
             SlideshowSectors(more) <= disc);
    return added;
}
