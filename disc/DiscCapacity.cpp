#include "disc/DiscCapacity.h"

#include "disc/DfsImage.h"
#include "screen/ScreenGeometry.h"

namespace {

// The room of every picture's screen as it is.
std::vector<ScreenFileSpace> AsTheyAre(const std::vector<DiscPicture>& pictures) {
    std::vector<ScreenFileSpace> files;
    for (const DiscPicture& picture : pictures) {
        files.push_back({SectorsFor(ScreenMemoryOf(picture.screenMode).screenBytes), 0});
    }
    return files;
}

}  // namespace

int SlideshowSectors(const std::vector<DiscPicture>& pictures) {
    return SlideshowSectors(pictures, AsTheyAre(pictures));
}

int MorePicturesThatFit(const std::vector<DiscPicture>& pictures, int screenMode, int tracks) {
    return MorePicturesThatFit(pictures, AsTheyAre(pictures), screenMode, tracks);
}

int SlideshowSectors(const std::vector<DiscPicture>& pictures,
                     const std::vector<ScreenFileSpace>& files) {
    return kDfsCatalogueSectors + SlideshowFileSectors(pictures, files);
}

int MorePicturesThatFit(const std::vector<DiscPicture>& pictures,
                        const std::vector<ScreenFileSpace>& files, int screenMode, int tracks) {
    const int disc = tracks * kDfsSectorsPerTrack;
    const DiscPicture another{"P", screenMode, DefaultPalette(screenMode), {}};
    const ScreenFileSpace itsRoom = AsTheyAre({another}).front();
    // The loader grows with each picture, so the count is found by adding them one at a time.
    std::vector<DiscPicture> more = pictures;
    std::vector<ScreenFileSpace> room = files;
    int added = -1;
    do {
        more.push_back(another);
        room.push_back(itsRoom);
        ++added;
    } while (SlideshowFileCount(more, room) <= static_cast<std::size_t>(kDfsMaxFiles) &&
             SlideshowSectors(more, room) <= disc);
    return added;
}
