#pragma once

#include <string>

// The directory look-up of one file by path.
class FileLookup {
public:
    virtual ~FileLookup() = default;

    // attributes 0: plain files only, not hidden, not folders. Returns the file's name (without
    // its folder) when pathName is such a file, otherwise "". No wildcards.
    virtual std::string Dir(const std::string& pathName, int attributes) = 0;
};

// Attribute bits that widen the look-up beyond plain files.
inline constexpr int kAttrNormal = 0;
inline constexpr int kAttrHidden = 2;
inline constexpr int kAttrDirectory = 16;

// The look-up on this file system. Paths are taken the Windows way (WindowsPathToLocal in
// platform/DrivePath.h); plain files are found as PlainFileExists finds them, so names starting
// with '.' count as hidden; symbolic links are followed. Names compare with their case, as the file
// system does.
class LocalFileLookup : public FileLookup {
public:
    std::string Dir(const std::string& pathName, int attributes) override;
};
