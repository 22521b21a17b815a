#pragma once

#include "bench/quality/Plane.h"

// A Gaussian blur of standard deviation sigma pixels, truncated at 4 sigma (rounded), with the
// picture mirrored at its edges (d c b a | a b c d).
Plane GaussianBlur(const Plane& plane, double sigma);

// Mean SSIM (Wang et al. 2004) of two same-sized planes over `region`, each statistic weighted by
// an 11 x 11 Gaussian window of sigma 1.5, with K1 0.01, K2 0.03 and the given data range. The
// mean runs over `region` (clipped to the planes) shrunk by the window's 5-pixel radius on every
// side, so each window lies inside it. Raises std::invalid_argument when nothing is left.
double MeanSsim(const Plane& first, const Plane& second, const GridRect& region, double dataRange);
