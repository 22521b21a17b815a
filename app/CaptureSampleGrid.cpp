#include "app/CaptureSampleGrid.h"

#include "app/ConversionSettings.h"
#include "app/Module1.h"
#include "sample/SamplePicture.h"

void CaptureSampleGrid(const PictureBox& source, PictureBox& preview) {
    const Samples samples = SamplePicture(source, static_cast<Fit>(ConversionSettings.Fit),
                                          static_cast<Sampling>(ConversionSettings.Sampling));
    Module1::SampleGrid = samples.Planes();
    DrawSamples(samples, preview);
}
