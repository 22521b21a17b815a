#include "disc/DiscCapacity.h"

#include "disc/BootScript.h"
#include "disc/DfsImage.h"
#include "disc/DiscNames.h"
#include "screen/ScreenGeometry.h"

int SlideshowSectors(const std::vector<DiscPicture>& pictures) {
    std::vector<std::string> stems;
    for (const DiscPicture& picture : pictures) stems.push_back(picture.stem);
    const std::vector<std::string> names = DfsNamesFor(stems);
    std::vector<LoaderSlide> slides;
    int sectors = kDfsCatalogueSectors;
    for (std::size_t i = 0; i < pictures.size(); ++i) {
        slides.push_back({names[i], pictures[i].screenMode, pictures[i].palette});
        sectors += SectorsFor(GeometryOf(pictures[i].screenMode).screenBytes);
    }
    return sectors + SectorsFor(BootScript(slides).size());
}

int MorePicturesThatFit(const std::vector<DiscPicture>& pictures, int screenMode, int tracks) {
    const int disc = tracks * kDfsSectorsPerTrack;
    // The loader grows with each picture, so the count is found by adding them one at a time.
    std::vector<DiscPicture> more = pictures;
    int added = -1;
    do {
        more.push_back({"P", screenMode, DefaultPalette(screenMode), {}});
        ++added;
    } while (more.size() + 1 <= static_cast<std::size_t>(kDfsMaxFiles) &&
             SlideshowSectors(more) <= disc);
    return added;
}
