#include "decode/OpenPicture.h"

#include "decode/BmpRows.h"
#include "decode/GifRows.h"
#include "decode/HelperRows.h"
#include "decode/JpegRows.h"
#include "decode/PictureHeader.h"
#include "decode/PictureReasons.h"
#include "decode/PngRows.h"
#include "decode/TgaRows.h"
#include "platform/files/FileError.h"
#include "platform/files/ReadOnlyFile.h"

namespace {

void OpenFile(const std::string& path, ReadOnlyFile& file) {
    OpenOrRaise(file, path, "picture");
    if (file.Size() == 0) {
        // Files of the system's own (/proc, /sys) say they are empty and yet have content.
        char first = 0;
        if (file.ReadAt(&first, 1, 0) > 0) throw FileError(path, kNotAPicture);
        throw FileError(path, "empty file");
    }
}

// A row source with the file it reads, which lives as long as the source.
class OpenedPicture : public RowSource {
public:
    const StoredPicture& Picture() const override { return rows_->Picture(); }
    void Feed(RowConsumer& consumer) override { rows_->Feed(consumer); }

    ReadOnlyFile file_;
    std::unique_ptr<RowSource> rows_;
};

std::unique_ptr<RowSource> NativeRows(const std::string& path, const ReadOnlyFile& file) {
    const std::string head = FileBytes(file, 0, 64);
    if (head.rfind("\xFF\xD8\xFF", 0) == 0) return OpenJpegRows(path, file);
    if (head.rfind("\x89PNG\r\n\x1A\n", 0) == 0) return OpenPngRows(path, file);
    if (head.rfind("GIF87a", 0) == 0 || head.rfind("GIF89a", 0) == 0)
        return OpenGifRows(path, file);
    if (head.rfind("BM", 0) == 0) {
        if (auto rows = OpenBmpRows(path, file)) return rows;
        const PictureSize declared = BmpDeclaredSize(head);
        if (TooLarge(declared.width, declared.height)) {
            throw FileError(path, TooLargeReason(declared.width, declared.height));
        }
        return nullptr;
    }
    return OpenTgaRows(path, file);
}

}  // namespace

std::unique_ptr<RowSource> OpenPicture(const std::string& path, Fallback fallback) {
    auto opened = std::make_unique<OpenedPicture>();
    OpenFile(path, opened->file_);
    opened->rows_ = NativeRows(path, opened->file_);
    if (opened->rows_) return opened;
    // The fallback's formats that state their size are judged by it first: Qt's readers turn a
    // huge header down as broken. An XBM cut short would come out white where it ends.
    const PictureSize declared = FallbackDeclaredSize(opened->file_);
    if (TooLarge(declared.width, declared.height)) {
        throw FileError(path, TooLargeReason(declared.width, declared.height));
    }
    if (!XbmComplete(opened->file_)) throw FileError(path, kTruncatedPicture);
    if (fallback == Fallback::kNone) throw FileError(path, kNotAPicture);
    return OpenHelperRows(path);
}
