#include "bench/quality/Filters.h"

#include <algorithm>
#include <cmath>
#include <stdexcept>

namespace {

std::vector<double> GaussianKernel(double sigma, int radius) {
    std::vector<double> kernel(2 * radius + 1);
    double sum = 0;
    for (int i = -radius; i <= radius; ++i) {
        kernel[i + radius] = std::exp(-0.5 * i * i / (sigma * sigma));
        sum += kernel[i + radius];
    }
    for (double& k : kernel) k /= sum;
    return kernel;
}

// Index i of a line `size` long, mirrored back into it at either end.
int Mirror(int i, int size) {
    const int period = 2 * size;
    i %= period;
    if (i < 0) i += period;
    return i < size ? i : period - 1 - i;
}

// One 1-D pass along x (horizontal) or y of the plane.
Plane Pass(const Plane& in, const std::vector<double>& kernel, bool horizontal) {
    const int radius = static_cast<int>(kernel.size() / 2);
    Plane out(in.width, in.height);
    for (int y = 0; y < in.height; ++y) {
        for (int x = 0; x < in.width; ++x) {
            double sum = 0;
            for (int k = -radius; k <= radius; ++k) {
                sum += kernel[k + radius] * (horizontal ? in.At(Mirror(x + k, in.width), y)
                                                        : in.At(x, Mirror(y + k, in.height)));
            }
            out.At(x, y) = static_cast<float>(sum);
        }
    }
    return out;
}

constexpr int kSsimRadius = 5;
constexpr double kSsimSigma = 1.5;

}  // namespace

Plane GaussianBlur(const Plane& plane, double sigma) {
    const auto kernel = GaussianKernel(sigma, static_cast<int>(4 * sigma + 0.5));
    return Pass(Pass(plane, kernel, true), kernel, false);
}

double MeanSsim(const Plane& first, const Plane& second, const GridRect& region, double dataRange) {
    const double c1 = (0.01 * dataRange) * (0.01 * dataRange);
    const double c2 = (0.03 * dataRange) * (0.03 * dataRange);
    const auto window = GaussianKernel(kSsimSigma, kSsimRadius);
    const int left = std::max(region.left, 0) + kSsimRadius;
    const int top = std::max(region.top, 0) + kSsimRadius;
    const int right = std::min(region.right, first.width) - kSsimRadius;
    const int bottom = std::min(region.bottom, first.height) - kSsimRadius;
    if (right <= left || bottom <= top) {
        throw std::invalid_argument("the picture is too small to measure SSIM over");
    }

    double total = 0;
    for (int y = top; y < bottom; ++y) {
        for (int x = left; x < right; ++x) {
            double mx = 0, my = 0, xx = 0, yy = 0, xy = 0;
            for (int j = -kSsimRadius; j <= kSsimRadius; ++j) {
                for (int i = -kSsimRadius; i <= kSsimRadius; ++i) {
                    const double w = window[i + kSsimRadius] * window[j + kSsimRadius];
                    const double a = first.At(x + i, y + j);
                    const double b = second.At(x + i, y + j);
                    mx += w * a;
                    my += w * b;
                    xx += w * a * a;
                    yy += w * b * b;
                    xy += w * a * b;
                }
            }
            const double vx = xx - mx * mx, vy = yy - my * my, cov = xy - mx * my;
            total +=
                (2 * mx * my + c1) * (2 * cov + c2) / ((mx * mx + my * my + c1) * (vx + vy + c2));
        }
    }
    return total / (static_cast<double>(right - left) * (bottom - top));
}
