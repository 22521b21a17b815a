#pragma once

#include <vector>

#include "disc/SlideshowDisc.h"

// How much of a disc a slideshow takes, for a meter that shows it before anything is written.

// The sectors the slideshow disc of these pictures uses: the catalogue, !BOOT and every picture,
// as MakeSlideshowDisc lays them out. The disc holds 400 (40 tracks) or 800 (80 tracks).
int SlideshowSectors(const std::vector<DiscPicture>& pictures);

// How many more pictures of screenMode fit on a disc of that many tracks after these pictures;
// 0 when none does, or when these do not fit themselves.
int MorePicturesThatFit(const std::vector<DiscPicture>& pictures, int screenMode, int tracks);

// The same with each picture's file taking the room given, one per picture (packed or not, see
// SlideshowFileSectors): the catalogue and MakeSlideshowImage's summary of a single-sided disc.
// The pictures still to come are counted as they are, as no packing of theirs is known yet.
int SlideshowSectors(const std::vector<DiscPicture>& pictures,
                     const std::vector<ScreenFileSpace>& files);
int MorePicturesThatFit(const std::vector<DiscPicture>& pictures,
                        const std::vector<ScreenFileSpace>& files, int screenMode, int tracks);
