#include "pipeline/Pipeline.h"

#include <new>

#include "decode/OpenPicture.h"
#include "decode/PictureReasons.h"
#include "platform/files/FileError.h"
#include "sample/SampleRows.h"

Samples SamplePictureFile(const std::string& path, Fit fit, Sampling sampling) {
    StoredPicture picture;
    try {
        const std::unique_ptr<RowSource> rows = OpenPicture(path);
        picture = rows->Picture();
        return SampleRows(*rows, fit, sampling);
    } catch (const std::bad_alloc&) {
        throw FileError(path, NoMemoryReason(picture.width, picture.height));
    }
}

EncodedScreen ConvertPictureFile(const std::string& path, const ConversionChoices& choices) {
    return Convert(SamplePictureFile(path, choices.fit, choices.sampling), choices);
}
