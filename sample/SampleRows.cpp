#include "sample/SampleRows.h"

#include "sample/AreaSampler.h"
#include "sample/PointSampler.h"
#include "sample/SampleMapping.h"
#include "sample/SamplePicture.h"

Samples SampleRows(RowSource& rows, Fit fit, Sampling sampling) {
    const StoredPicture& picture = rows.Picture();
    if (sampling == Sampling::Area) {
        AreaSampler sampler(GridGeometry(picture.UprightWidth(), picture.UprightHeight(), fit),
                            picture);
        rows.Feed(sampler);
        return SamplesOfColours(sampler.Colours());
    }
    PointSampler sampler(PointMapping(picture.UprightWidth(), picture.UprightHeight(), fit),
                         picture);
    rows.Feed(sampler);
    return sampler.Taken();
}
