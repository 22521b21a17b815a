#pragma once

#include <cstdint>
#include <string>

// A regular file opened for reading at any offset. Opening never blocks, not even on a pipe or
// device swapped in for the file after it was checked.
class ReadOnlyFile {
public:
    // Why Open failed.
    enum class Refusal { kNone, kNotFound, kFolder, kNotRegular, kSystem };

    ReadOnlyFile() = default;
    ~ReadOnlyFile();
    ReadOnlyFile(const ReadOnlyFile&) = delete;
    ReadOnlyFile& operator=(const ReadOnlyFile&) = delete;

    // Opens path if it is a regular file; kSystem leaves the system's reason in ErrorText().
    Refusal Open(const std::string& path);

    std::int64_t Size() const { return size_; }

    // Reads up to count bytes at offset, fewer only where the file ends; -1 on failure, with the
    // system's reason in ErrorText().
    std::int64_t ReadAt(char* data, std::int64_t count, std::int64_t offset) const;

    const std::string& ErrorText() const { return errorText_; }

private:
    Refusal Fail(int error);

    int fd_ = -1;
    std::int64_t size_ = 0;
    mutable std::string errorText_;
};

// Opens path into file as a file of a kind ("picture", "screen"), or raises FileError with the
// reason a user reads: "file not found", "is a folder, not a KIND file", "not a regular file" or
// the system's own.
void OpenOrRaise(ReadOnlyFile& file, const std::string& path, const std::string& kind);
