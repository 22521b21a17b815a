#pragma once

#include <string>

#include "platform/files/AtomicFile.h"
#include "screen/EncodedScreen.h"

// The screen file the Convert command writes, in the window's and the converter's own spelling.
inline constexpr const char* kScreenFileName = "c:\\$.screen";

// A converted screen's two files: the screen file, its bytes and nothing else, and its one-line
// catalogue sidecar, the screen file's path + ".inf". Both are replaced whole or not at all: any
// failure raises FileError naming the file and the reason, and leaves the previous screen file
// and sidecar as they were. Writers of the same files, in this process or another, take turns to
// put them in place (FolderLock.h), so the two always come from the same writer.
class ScreenFiles {
public:
    // Starts replacing the screen file at path (a Windows-style "c:\..." path is placed by the
    // drive mapping): a screen file that cannot be made fails here, before there is anything to
    // write. Both files are written through calls.
    explicit ScreenFiles(const std::string& path, const AtomicFileCalls& calls = {});

    // Writes the screen and its sidecar and puts both in place.
    void Write(const EncodedScreen& screen);

private:
    AtomicFileCalls calls_;
    std::string path_;
    AtomicFile screen_;
};

// ScreenFiles(path).Write(screen).
void WriteScreenFiles(const std::string& path, const EncodedScreen& screen);

// The sidecar's content for a MODE: its catalogue line ended by CR LF.
std::string SidecarText(int screenMode);
