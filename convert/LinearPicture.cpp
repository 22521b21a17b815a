#include "convert/LinearPicture.h"

#include <algorithm>

LinearPicture Reduced(const LinearPicture& picture, int width, int height) {
    LinearPicture out(width, height);
    for (int y = 0; y < height; ++y) {
        const int top = y * picture.height / height;
        const int bottom = std::max(top + 1, (y + 1) * picture.height / height);
        for (int x = 0; x < width; ++x) {
            const int left = x * picture.width / width;
            const int right = std::max(left + 1, (x + 1) * picture.width / width);
            float sum[3] = {0, 0, 0};
            for (int sy = top; sy < bottom; ++sy) {
                for (int sx = left; sx < right; ++sx) {
                    const float* p = picture.Pixel(sx, sy);
                    for (int c = 0; c < 3; ++c) sum[c] += p[c];
                }
            }
            const float count = static_cast<float>((bottom - top) * (right - left));
            float* q = out.Pixel(x, y);
            for (int c = 0; c < 3; ++c) q[c] = sum[c] / count;
        }
    }
    return out;
}
