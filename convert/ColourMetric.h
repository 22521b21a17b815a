#pragma once

#include <array>

// How much a small change of a colour in linear light shows, for a search that has to weigh
// millions of small changes: the local quadratic forms of the two scores a dither is judged by.

// The symmetric matrix M (m00, m01, m02, m11, m12, m22) for which d' M d is, to first order, the
// square of the CIEDE2000 difference a small change d of linear red, green and blue makes to the
// colour rgb. Interpolated from a table over the colour cube (spaced evenly in cube roots, as
// CIELAB is), made once; a channel outside 0..1 is taken as clamped.
using ColourMetric = std::array<float, 6>;
ColourMetric Ciede2000MetricAt(const float* rgb);

// The gradient of CIELAB lightness L* with respect to linear red, green and blue at rgb.
std::array<float, 3> LightnessGradientAt(const float* rgb);
