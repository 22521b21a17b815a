#include "acquire/streaming/StreamSamples.h"

#include <cstring>

#include "acquire/SampleCapture.h"
#include "acquire/streaming/AreaSampler.h"
#include "acquire/streaming/BmpRows.h"
#include "acquire/streaming/JpegRows.h"
#include "acquire/streaming/PointSampler.h"
#include "acquire/streaming/SampleMapping.h"
#include "platform/files/ReadOnlyFile.h"

namespace {

std::unique_ptr<RowSource> OpenRows(const std::string& path, const ReadOnlyFile& file) {
    char head[3] = {};
    if (file.ReadAt(head, sizeof head, 0) != sizeof head) return nullptr;
    if (std::memcmp(head, "\xFF\xD8\xFF", 3) == 0) return OpenJpegRows(path, file);
    if (std::memcmp(head, "BM", 2) == 0) return OpenBmpRows(path, file);
    return nullptr;
}

}  // namespace

bool StreamSamples(const std::string& path, Fit fit, PictureBox& preview,
                   SamplingChoices sampling) {
    ReadOnlyFile file;
    if (file.Open(path) != ReadOnlyFile::Refusal::kNone || file.Size() == 0) return false;
    const std::unique_ptr<RowSource> rows = OpenRows(path, file);
    if (!rows) return false;
    const StoredPicture& picture = rows->Picture();
    if (sampling != kPointSampling) {
        AreaSampler sampler(GridGeometry(picture.UprightWidth(), picture.UprightHeight(), fit),
                            picture);
        rows->Feed(sampler);
        StoreAreaColours(sampler.Colours(), preview);
        return true;
    }
    PointSampler sampler(PointMapping(picture.UprightWidth(), picture.UprightHeight(), fit),
                         picture);
    rows->Feed(sampler);
    sampler.Store(preview);
    return true;
}
