#include "screen/WriteImage.h"

#include "convert/ConversionSettings.h"
#include "platform/files/AtomicFile.h"
#include "platform/files/DrivePath.h"
#include "platform/picture/PictureBox.h"
#include "screen/EncodeScreen.h"
#include "screen/ScreenGeometry.h"

namespace {

class FileSink : public ScreenSink {
public:
    explicit FileSink(AtomicFile& file) : file_(file) {}
    void Put(const std::uint8_t* bytes, std::size_t count) override { file_.Write(bytes, count); }

private:
    AtomicFile& file_;
};

}  // namespace

std::string SidecarText(int screenMode) {
    return std::string(GeometryOf(screenMode).sidecarLine) + "\r\n";
}

Palette WriteImage(PictureBox& preview, const std::string& fileName, std::int32_t /*maxVal*/) {
    preview.Cls();
    const std::string screenPath = ToLocalPath(fileName);
    const std::string sidecar = SidecarText(ConversionSettings.ScreenMode);

    // A new file each time, so a shorter screen image never keeps a stale tail.
    AtomicFile screen(screenPath);
    FileSink sink(screen);
    const Palette palette = EncodeScreen(sink, preview);
    screen.Close();

    AtomicFile catalogue(screenPath + ".inf");
    catalogue.Write(sidecar);
    catalogue.Close();

    // Both are complete on disk before either replaces its predecessor. The two renames are
    // separate steps; within one folder the second fails only if the folder itself goes away
    // in between.
    screen.Commit();
    catalogue.Commit();
    return palette;
}
