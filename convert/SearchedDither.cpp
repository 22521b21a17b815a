#include "convert/SearchedDither.h"

#include <algorithm>
#include <array>
#include <cmath>

#include "convert/ColourMetric.h"
#include "convert/ErrorDiffusion.h"

namespace {

// Measured on photographs (see the README). The detail weight trades colour error for detail: 10
// keeps the colour error well within 1.3 times Atkinson's in every MODE. The weight of the blocks'
// mean colour keeps areas from turning flat: below 30, flat patches of a colour the area does not
// have appear. A start whose handed-on error is cut to 0.5 scored better than 0.3 or none.
constexpr float kStartErrorLimit = 0.5f;  // of each channel of the error the start hands on
constexpr int kAllowedReach = 2;          // a pixel may take the start's colours this near it
constexpr int kSweeps = 6;
constexpr double kColourSigma = 1.0;  // grid pixels, as the eye blends colour
constexpr double kDetailSigma = 0.6;  // grid pixels, as the eye still sees detail
constexpr float kDetailWeight = 10.0f;
constexpr int kBlockLines = 8;  // blocks whose mean colour is kept: 8 grid pixels square
constexpr float kMeanWeight = 30.0f;
// A switch must gain at least this much, so that rounding never flips a pixel back and forth.
constexpr float kLeastGain = 1e-3f;

// A Gaussian of the given widths (in pixels across and down), each axis sampled out to three
// widths and scaled to sum to 1.
struct Kernel {
    int rx = 0, ry = 0;
    std::vector<float> across, down;  // 2 rx + 1 and 2 ry + 1 weights
    float At(int i, int j) const { return across[i + rx] * down[j + ry]; }
};

std::vector<float> Gaussian(double sigma, int reach) {
    std::vector<float> weights;
    double sum = 0;
    for (int i = -reach; i <= reach; ++i) sum += std::exp(-0.5 * i * i / (sigma * sigma));
    for (int i = -reach; i <= reach; ++i)
        weights.push_back(static_cast<float>(std::exp(-0.5 * i * i / (sigma * sigma)) / sum));
    return weights;
}

Kernel MakeKernel(double sigmaAcross, double sigmaDown) {
    Kernel kernel;
    kernel.rx = static_cast<int>(std::ceil(3 * sigmaAcross));
    kernel.ry = static_cast<int>(std::ceil(3 * sigmaDown));
    kernel.across = Gaussian(sigmaAcross, kernel.rx);
    kernel.down = Gaussian(sigmaDown, kernel.ry);
    return kernel;
}

Kernel Squared(const Kernel& kernel) {
    Kernel squared = kernel;
    for (float& w : squared.across) w *= w;
    for (float& w : squared.down) w *= w;
    return squared;
}

// A field of `channels` floats per pixel over the picture and a margin around it, so that a
// kernel centred on any pixel of the picture stays inside. The margin reads as nothing there.
struct Field {
    int width = 0, height = 0, margin = 0, marginDown = 0, channels = 0;
    std::vector<float> values;

    Field(int w, int h, int mx, int my, int c)
        : width(w),
          height(h),
          margin(mx),
          marginDown(my),
          channels(c),
          values(static_cast<std::size_t>(w + 2 * mx) * (h + 2 * my) * c, 0.0f) {}
    int Stride() const { return (width + 2 * margin) * channels; }
    float* At(int x, int y) {
        return values.data() + static_cast<std::size_t>(y + marginDown) * Stride() +
               static_cast<std::size_t>(x + margin) * channels;
    }
    const float* At(int x, int y) const { return const_cast<Field*>(this)->At(x, y); }
};

// The input convolved with the kernel, inside the picture; with `normalise`, divided by the
// weight that fell inside it, as a blur of the picture alone.
Field Convolve(const Field& input, const Kernel& kernel, bool normalise) {
    const int c = input.channels;
    Field across(input.width, input.height, input.margin, input.marginDown, c);
    Field output(input.width, input.height, input.margin, input.marginDown, c);
    for (int y = 0; y < input.height; ++y)
        for (int x = 0; x < input.width; ++x) {
            float* out = across.At(x, y);
            for (int i = -kernel.rx; i <= kernel.rx; ++i) {
                const float* in = input.At(x + i, y);
                for (int k = 0; k < c; ++k) out[k] += kernel.across[i + kernel.rx] * in[k];
            }
        }
    for (int y = 0; y < input.height; ++y)
        for (int x = 0; x < input.width; ++x) {
            float* out = output.At(x, y);
            for (int j = -kernel.ry; j <= kernel.ry; ++j) {
                const float* in = across.At(x, y + j);
                for (int k = 0; k < c; ++k) out[k] += kernel.down[j + kernel.ry] * in[k];
            }
            if (!normalise) continue;
            float inside = 0;
            for (int j = -kernel.ry; j <= kernel.ry; ++j)
                for (int i = -kernel.rx; i <= kernel.rx; ++i)
                    if (x + i >= 0 && x + i < input.width && y + j >= 0 && y + j < input.height)
                        inside += kernel.At(i, j);
            for (int k = 0; k < c; ++k) out[k] /= inside;
        }
    return output;
}

// a' M b for the symmetric matrix M given as (m00, m01, m02, m11, m12, m22).
float Form(const float* m, const float* a, const float* b) {
    return m[0] * a[0] * b[0] + m[3] * a[1] * b[1] + m[5] * a[2] * b[2] +
           m[1] * (a[0] * b[1] + a[1] * b[0]) + m[2] * (a[0] * b[2] + a[2] * b[0]) +
           m[4] * (a[1] * b[2] + a[2] * b[1]);
}

// The summed error over blocks of the picture, each weighed by the colour metric at the block's
// own mean colour: the term that keeps the light and the hue of every area, where the sharper
// terms would rather leave a dotted area flat. Two grids of blocks, the second shifted by half a
// block, so that no block edge is favoured.
class BlockMeans {
public:
    BlockMeans(const Field& source, const Field& error, int blockWidth, int offset, int offsetDown)
        : width_(blockWidth),
          ox_(offset),
          oy_(offsetDown),
          across_((source.width + offset + blockWidth - 1) / blockWidth),
          down_((source.height + offsetDown + kBlockLines - 1) / kBlockLines) {
        const std::size_t blocks = static_cast<std::size_t>(across_) * down_;
        sums_.assign(3 * blocks, 0.0f);
        metric_.assign(6 * blocks, 0.0f);
        inverseCount_.assign(blocks, 0.0f);
        std::vector<float> colour(3 * blocks, 0.0f);
        for (int y = 0; y < source.height; ++y)
            for (int x = 0; x < source.width; ++x) {
                const std::size_t b = Block(x, y);
                for (int k = 0; k < 3; ++k) {
                    sums_[3 * b + k] += error.At(x, y)[k];
                    colour[3 * b + k] += source.At(x, y)[k];
                }
                inverseCount_[b] += 1;
            }
        for (std::size_t b = 0; b < blocks; ++b) {
            if (inverseCount_[b] == 0) continue;
            inverseCount_[b] = 1 / inverseCount_[b];
            float mean[3];
            for (int k = 0; k < 3; ++k) mean[k] = colour[3 * b + k] * inverseCount_[b];
            const ColourMetric m = Ciede2000MetricAt(mean);
            std::copy(m.begin(), m.end(), metric_.begin() + static_cast<std::ptrdiff_t>(6 * b));
        }
    }

    // The change of the term for a switch by d at (x, y).
    float Change(int x, int y, const float* d) const {
        const std::size_t b = Block(x, y);
        const float* m = &metric_[6 * b];
        return kMeanWeight * inverseCount_[b] * (2 * Form(m, d, &sums_[3 * b]) + Form(m, d, d));
    }

    void Switch(int x, int y, const float* d) {
        float* sum = &sums_[3 * Block(x, y)];
        for (int k = 0; k < 3; ++k) sum[k] += d[k];
    }

    double Total() const {
        double total = 0;
        for (std::size_t b = 0; b < inverseCount_.size(); ++b)
            total += inverseCount_[b] * Form(&metric_[6 * b], &sums_[3 * b], &sums_[3 * b]);
        return kMeanWeight * total;
    }

    // The pixels of the block holding (x, y), as [left, right] x [top, bottom].
    std::array<int, 4> Extent(int x, int y) const {
        const int left = (x + ox_) / width_ * width_ - ox_;
        const int top = (y + oy_) / kBlockLines * kBlockLines - oy_;
        return {left, left + width_ - 1, top, top + kBlockLines - 1};
    }

private:
    std::size_t Block(int x, int y) const {
        return static_cast<std::size_t>((y + oy_) / kBlockLines) * across_ + (x + ox_) / width_;
    }

    int width_, ox_, oy_, across_, down_;
    std::vector<float> sums_, metric_, inverseCount_;
};

// The search's state: the blurred errors and, from them, the terms every candidate switch is
// weighed with, kept up to date as pixels switch.
class Search {
public:
    Search(const LinearPicture& picture, const Palette& palette, double pixelsPerGridColumn,
           std::vector<std::uint8_t> logical)
        : width_(picture.width),
          height_(picture.height),
          colour_(MakeKernel(kColourSigma * pixelsPerGridColumn, kColourSigma)),
          detail_(MakeKernel(kDetailSigma * pixelsPerGridColumn, kDetailSigma)),
          mx_(std::max(colour_.rx, detail_.rx)),
          my_(std::max(colour_.ry, detail_.ry)),
          logical_(std::move(logical)),
          colourError_(width_, height_, mx_, my_, 3),
          detailError_(width_, height_, mx_, my_, 3),
          metric_(width_, height_, mx_, my_, 6),
          gradient_(width_, height_, mx_, my_, 3),
          weighedColour_(width_, height_, mx_, my_, 3),
          weighedDetail_(width_, height_, mx_, my_, 3),
          quadratic_(width_, height_, mx_, my_, 6),
          dirty_(static_cast<std::size_t>(width_) * height_, 1) {
        for (const std::uint8_t physical : palette.physical)
            colours_.push_back({static_cast<float>(physical & 1),
                                static_cast<float>((physical >> 1) & 1),
                                static_cast<float>((physical >> 2) & 1)});
        Field source(width_, height_, mx_, my_, 3);
        Field error(width_, height_, mx_, my_, 3);
        for (int y = 0; y < height_; ++y)
            for (int x = 0; x < width_; ++x) {
                const float* p = picture.Pixel(x, y);
                const auto& shown = colours_[Logical(x, y)];
                for (int k = 0; k < 3; ++k) {
                    source.At(x, y)[k] = p[k];
                    error.At(x, y)[k] = shown[k] - p[k];
                }
            }
        WeighAbout(Convolve(source, colour_, true), Convolve(source, detail_, true));
        colourError_ = Convolve(error, colour_, false);
        detailError_ = Convolve(error, detail_, false);
        const int blockWidth =
            std::max(1, static_cast<int>(std::lround(kBlockLines * pixelsPerGridColumn)));
        blocks_.emplace_back(source, error, blockWidth, 0, 0);
        blocks_.emplace_back(source, error, blockWidth, blockWidth / 2, kBlockLines / 2);
        for (int y = 0; y < height_; ++y)
            for (int x = 0; x < width_; ++x) Reweigh(x, y);
        AllowStartColours();
    }

    // One pass over the rows, each in the direction opposite to the last; the switches made.
    int Sweep() {
        int switches = 0;
        for (int y = 0; y < height_; ++y) {
            const bool rightward = (y + sweeps_) % 2 == 0;
            for (int i = 0; i < width_; ++i) {
                const int x = rightward ? i : width_ - 1 - i;
                std::uint8_t& dirty = dirty_[Index(x, y)];
                if (!dirty) continue;
                dirty = 0;
                switches += TrySwitch(x, y) ? 1 : 0;
            }
        }
        ++sweeps_;
        return switches;
    }

    double Objective() const {
        double total = 0;
        for (int y = 0; y < height_; ++y)
            for (int x = 0; x < width_; ++x) {
                const float* e = colourError_.At(x, y);
                const float* m = metric_.At(x, y);
                total += m[0] * e[0] * e[0] + m[3] * e[1] * e[1] + m[5] * e[2] * e[2] +
                         2 * (m[1] * e[0] * e[1] + m[2] * e[0] * e[2] + m[4] * e[1] * e[2]);
                const float* d = detailError_.At(x, y);
                const float* g = gradient_.At(x, y);
                const float lightness = g[0] * d[0] + g[1] * d[1] + g[2] * d[2];
                total += kDetailWeight * lightness * lightness;
            }
        for (const BlockMeans& blocks : blocks_) total += blocks.Total();
        return total / std::max(1.0, static_cast<double>(width_) * height_);
    }

    std::vector<std::uint8_t> TakeLogical() { return std::move(logical_); }

private:
    std::size_t Index(int x, int y) const { return static_cast<std::size_t>(y) * width_ + x; }
    std::uint8_t& Logical(int x, int y) { return logical_[Index(x, y)]; }

    // Each pixel's metric about the picture blurred for colour, its lightness gradient about the
    // picture blurred for detail, and the quadratic term of every switch, which depends only on
    // them.
    void WeighAbout(const Field& blurredColour, const Field& blurredDetail) {
        Field detailForm(width_, height_, mx_, my_, 6);
        for (int y = 0; y < height_; ++y)
            for (int x = 0; x < width_; ++x) {
                const ColourMetric m = Ciede2000MetricAt(blurredColour.At(x, y));
                std::copy(m.begin(), m.end(), metric_.At(x, y));
                const std::array<float, 3> g = LightnessGradientAt(blurredDetail.At(x, y));
                std::copy(g.begin(), g.end(), gradient_.At(x, y));
                float* form = detailForm.At(x, y);
                const int pairs[6][2] = {{0, 0}, {0, 1}, {0, 2}, {1, 1}, {1, 2}, {2, 2}};
                for (int k = 0; k < 6; ++k)
                    form[k] = kDetailWeight * g[pairs[k][0]] * g[pairs[k][1]];
            }
        // A switch by d at q changes the blurred error at p by K(p - q) d; its quadratic term
        // is d' (sum over p of K(p - q)^2 M_p) d.
        const Field colourPart = Convolve(metric_, Squared(colour_), false);
        const Field detailPart = Convolve(detailForm, Squared(detail_), false);
        for (int y = 0; y < height_; ++y)
            for (int x = 0; x < width_; ++x)
                for (int k = 0; k < 6; ++k)
                    quadratic_.At(x, y)[k] = colourPart.At(x, y)[k] + detailPart.At(x, y)[k];
    }

    // The blurred errors at (x, y) weighed by its metric and gradient, from which a switch's
    // linear term is summed.
    void Reweigh(int x, int y) {
        const float* e = colourError_.At(x, y);
        const float* m = metric_.At(x, y);
        float* a = weighedColour_.At(x, y);
        a[0] = m[0] * e[0] + m[1] * e[1] + m[2] * e[2];
        a[1] = m[1] * e[0] + m[3] * e[1] + m[4] * e[2];
        a[2] = m[2] * e[0] + m[4] * e[1] + m[5] * e[2];
        const float* d = detailError_.At(x, y);
        const float* g = gradient_.At(x, y);
        const float lightness = kDetailWeight * (g[0] * d[0] + g[1] * d[1] + g[2] * d[2]);
        float* v = weighedDetail_.At(x, y);
        for (int k = 0; k < 3; ++k) v[k] = lightness * g[k];
    }

    void AllowStartColours() {
        allowed_.assign(logical_.size(), 0);
        for (int y = 0; y < height_; ++y)
            for (int x = 0; x < width_; ++x) {
                std::uint8_t mask = 0;
                for (int j = std::max(0, y - kAllowedReach);
                     j <= std::min(height_ - 1, y + kAllowedReach); ++j)
                    for (int i = std::max(0, x - kAllowedReach);
                         i <= std::min(width_ - 1, x + kAllowedReach); ++i)
                        mask |= static_cast<std::uint8_t>(1u << Logical(i, j));
                allowed_[Index(x, y)] = mask;
            }
    }

    // The change of the objective for a switch by d at (x, y) is 2 d.(s) + d' Q d, s the blurred
    // weighed errors around it.
    bool TrySwitch(int x, int y) {
        float s[3] = {0, 0, 0};
        const auto addBlurred = [&](const Field& weighed, const Kernel& kernel) {
            for (int j = -kernel.ry; j <= kernel.ry; ++j) {
                const float* a = weighed.At(x - kernel.rx, y + j);
                const float down = kernel.down[j + kernel.ry];
                for (int i = 0; i <= 2 * kernel.rx; ++i, a += 3) {
                    const float w = down * kernel.across[i];
                    s[0] += w * a[0];
                    s[1] += w * a[1];
                    s[2] += w * a[2];
                }
            }
        };
        addBlurred(weighedColour_, colour_);
        addBlurred(weighedDetail_, detail_);
        const float* q = quadratic_.At(x, y);
        const std::uint8_t current = Logical(x, y);
        const std::uint8_t allowed = allowed_[Index(x, y)];
        float bestGain = -kLeastGain;
        int best = -1;
        for (std::size_t c = 0; c < colours_.size(); ++c) {
            if (c == current || !(allowed & (1u << c))) continue;
            const float d[3] = {colours_[c][0] - colours_[current][0],
                                colours_[c][1] - colours_[current][1],
                                colours_[c][2] - colours_[current][2]};
            float change = 2 * (d[0] * s[0] + d[1] * s[1] + d[2] * s[2]) + Form(q, d, d);
            for (const BlockMeans& blocks : blocks_) change += blocks.Change(x, y, d);
            if (change < bestGain) {
                bestGain = change;
                best = static_cast<int>(c);
            }
        }
        if (best < 0) return false;
        Switch(x, y, static_cast<std::uint8_t>(best));
        return true;
    }

    void Switch(int x, int y, std::uint8_t colour) {
        const float d[3] = {colours_[colour][0] - colours_[Logical(x, y)][0],
                            colours_[colour][1] - colours_[Logical(x, y)][1],
                            colours_[colour][2] - colours_[Logical(x, y)][2]};
        Logical(x, y) = colour;
        for (int j = -colour_.ry; j <= colour_.ry; ++j)
            for (int i = -colour_.rx; i <= colour_.rx; ++i) {
                float* e = colourError_.At(x + i, y + j);
                const float w = colour_.At(i, j);
                for (int k = 0; k < 3; ++k) e[k] += w * d[k];
            }
        for (int j = -detail_.ry; j <= detail_.ry; ++j)
            for (int i = -detail_.rx; i <= detail_.rx; ++i) {
                float* e = detailError_.At(x + i, y + j);
                const float w = detail_.At(i, j);
                for (int k = 0; k < 3; ++k) e[k] += w * d[k];
            }
        for (int j = std::max(0, y - my_); j <= std::min(height_ - 1, y + my_); ++j)
            for (int i = std::max(0, x - mx_); i <= std::min(width_ - 1, x + mx_); ++i)
                Reweigh(i, j);
        // Whose sums read what changed: every pixel within two kernel reaches.
        for (int j = std::max(0, y - 2 * my_); j <= std::min(height_ - 1, y + 2 * my_); ++j)
            std::fill_n(
                dirty_.begin() + static_cast<std::ptrdiff_t>(Index(std::max(0, x - 2 * mx_), j)),
                std::min(width_ - 1, x + 2 * mx_) - std::max(0, x - 2 * mx_) + 1, 1);
        for (BlockMeans& blocks : blocks_) {
            blocks.Switch(x, y, d);
            const std::array<int, 4> extent = blocks.Extent(x, y);
            for (int j = std::max(0, extent[2]); j <= std::min(height_ - 1, extent[3]); ++j)
                for (int i = std::max(0, extent[0]); i <= std::min(width_ - 1, extent[1]); ++i)
                    dirty_[Index(i, j)] = 1;
        }
        // Every other colour is worse than the one just taken.
        dirty_[Index(x, y)] = 0;
    }

    int width_, height_;
    Kernel colour_, detail_;
    int mx_, my_;
    std::vector<std::uint8_t> logical_;
    std::vector<std::array<float, 3>> colours_;
    Field colourError_, detailError_;  // the error blurred by each kernel
    Field metric_, gradient_;
    Field weighedColour_, weighedDetail_;
    Field quadratic_;
    std::vector<BlockMeans> blocks_;
    std::vector<std::uint8_t> allowed_;  // a bit for each logical colour a pixel may take
    std::vector<std::uint8_t> dirty_;    // whether a pixel's sums changed since its last visit
    int sweeps_ = 0;
};

Search Started(const LinearPicture& picture, const Palette& palette, double pixelsPerGridColumn) {
    return Search(picture, palette, pixelsPerGridColumn,
                  DiffuseWithLimitedError(picture, palette, kStartErrorLimit));
}

}  // namespace

std::vector<std::uint8_t> SearchOntoPalette(const LinearPicture& picture, const Palette& palette,
                                            double pixelsPerGridColumn) {
    Search search = Started(picture, palette, pixelsPerGridColumn);
    for (int sweep = 0; sweep < kSweeps && search.Sweep() > 0; ++sweep) {
    }
    return search.TakeLogical();
}

double SearchObjective(const LinearPicture& picture, const Palette& palette,
                       double pixelsPerGridColumn, const std::vector<std::uint8_t>& logical) {
    return Search(picture, palette, pixelsPerGridColumn, logical).Objective();
}

double SearchedObjective(const LinearPicture& picture, const Palette& palette,
                         double pixelsPerGridColumn, int sweeps) {
    Search search = Started(picture, palette, pixelsPerGridColumn);
    for (int sweep = 0; sweep < sweeps && search.Sweep() > 0; ++sweep) {
    }
    return search.Objective();
}
