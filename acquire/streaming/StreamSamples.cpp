#include "acquire/streaming/StreamSamples.h"

#include <cstring>

#include "acquire/streaming/BmpRows.h"
#include "acquire/streaming/JpegRows.h"
#include "platform/files/ReadOnlyFile.h"
#include "sample/AreaSampler.h"
#include "sample/PointSampler.h"
#include "sample/SampleMapping.h"
#include "sample/SamplePicture.h"

namespace {

std::unique_ptr<RowSource> OpenRows(const std::string& path, const ReadOnlyFile& file) {
    char head[3] = {};
    if (file.ReadAt(head, sizeof head, 0) != sizeof head) return nullptr;
    if (std::memcmp(head, "\xFF\xD8\xFF", 3) == 0) return OpenJpegRows(path, file);
    if (std::memcmp(head, "BM", 2) == 0) return OpenBmpRows(path, file);
    return nullptr;
}

}  // namespace

std::optional<Samples> StreamSamples(const std::string& path, Fit fit, Sampling sampling) {
    ReadOnlyFile file;
    if (file.Open(path) != ReadOnlyFile::Refusal::kNone || file.Size() == 0) return std::nullopt;
    const std::unique_ptr<RowSource> rows = OpenRows(path, file);
    if (!rows) return std::nullopt;
    const StoredPicture& picture = rows->Picture();
    if (sampling != Sampling::Point) {
        AreaSampler sampler(GridGeometry(picture.UprightWidth(), picture.UprightHeight(), fit),
                            picture);
        rows->Feed(sampler);
        return SamplesOfColours(sampler.Colours());
    }
    PointSampler sampler(PointMapping(picture.UprightWidth(), picture.UprightHeight(), fit),
                         picture);
    rows->Feed(sampler);
    return sampler.Taken();
}
