#include "sample/SamplePicture.h"

#include <cmath>

#include "platform/picture/PictureBox.h"
#include "sample/BoxRows.h"
#include "sample/SampleRows.h"

long long SamplePosition(int position, double pictureSize, int gridSize) {
    // nearbyint rounds exact halves to even under the default rounding mode. A long long holds the
    // position of any picture size, where a 16-bit position would overflow beyond 32767.
    return std::llrint(static_cast<double>(position) * pictureSize / gridSize);
}

SampleGeometry GridGeometry(int width, int height, Fit fit) {
    return PlanSampleGeometry(width, height, fit, kGridColumns, kGridRows);
}

Samples SamplePicture(const PictureBox& picture, Fit fit, Sampling sampling) {
    BoxRows rows(picture);
    return SampleRows(rows, fit, sampling);
}

Samples SamplesOfColours(const std::vector<std::uint32_t>& colours) {
    return Samples(std::vector<std::int32_t>(colours.begin(), colours.end()));
}

void DrawSamples(const Samples& samples, PictureBox& preview) {
    for (int y = 0; y < kGridRows; ++y) {
        for (int x = 0; x < kGridColumns; ++x) preview.PSet(x, y, samples.At(x, y));
    }
}
