#include "screen/ScreenFiles.h"

#include "platform/files/DrivePath.h"
#include "platform/files/FolderLock.h"

std::string SidecarText(int screenMode) {
    return std::string(GeometryOf(screenMode).sidecarLine) + "\r\n";
}

ScreenFiles::ScreenFiles(const std::string& path, const AtomicFileCalls& calls)
    : calls_(calls), path_(ToLocalPath(path)), screen_(path_, calls_) {}

void ScreenFiles::Write(const EncodedScreen& screen) {
    const std::string sidecar = SidecarText(ModeNumber(screen.screenMode));
    // A new file each time, so a shorter screen image never keeps a stale tail.
    screen_.Write(screen.bytes.data(), screen.bytes.size());
    screen_.Close();

    AtomicFile catalogue(path_ + ".inf", calls_);
    catalogue.Write(sidecar);
    catalogue.Close();

    // Both are complete on disk before either replaces its predecessor. The two renames are
    // separate steps; within one folder the second fails only if the folder itself goes away
    // in between. Another writer of the same screen file waits for both.
    const FolderLock turn(screen_.Folder());
    screen_.Commit();
    catalogue.Commit();
}

void WriteScreenFiles(const std::string& path, const EncodedScreen& screen) {
    ScreenFiles(path).Write(screen);
}
