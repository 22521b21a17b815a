#include "pipeline/Pipeline.h"

#include "acquire/LoadPicture.h"
#include "acquire/streaming/StreamSamples.h"
#include "platform/picture/PictureBox.h"
#include "platform/process/QuietStderr.h"
#include "sample/SamplePicture.h"

Samples SamplePictureFile(const std::string& path, Fit fit, Sampling sampling) {
    if (std::optional<Samples> streamed = StreamSamples(path, fit, sampling)) return *streamed;
    PictureBox picture;
    {
        QuietStderr quiet;
        LoadPicture(path, picture);
    }
    return SamplePicture(picture, fit, sampling);
}

EncodedScreen ConvertPictureFile(const std::string& path, const ConversionChoices& choices) {
    return Convert(SamplePictureFile(path, choices.fit, choices.sampling), choices);
}
