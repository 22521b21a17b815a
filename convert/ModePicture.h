#pragma once

#include "colour/LinearPicture.h"
#include "sample/Samples.h"
#include "screen/ScreenGeometry.h"

// The samples in linear light at the MODE's own resolution, 256 lines of 640, 320 or 160
// pixels. MODEs 2 and 5 average each pair of grid columns. MODE 0 has two pixels for every grid
// column: each is interpolated between the column and its neighbour on that side (weights 3/4
// and 1/4, the distance of the pixel's centre from theirs), so that edges keep their place to
// half a grid column and every one of the 640 pixels gets its own value to dither.
LinearPicture ModePicture(const SamplePlanes& samples, ScreenMode screenMode);
