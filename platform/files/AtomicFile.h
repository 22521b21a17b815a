#pragma once

#include <sys/types.h>
#include <unistd.h>

#include <cstddef>
#include <cstdio>
#include <string>

#include "platform/files/FileError.h"

// The system calls through which AtomicFile writes and replaces; tests put failing ones in their
// place. Each returns as its system call does, with the reason in errno.
struct AtomicFileCalls {
    ssize_t (*write)(int fd, const void* data, std::size_t size) = ::write;
    int (*fsync)(int fd) = ::fsync;
    int (*rename)(const char* from, const char* to) = std::rename;
};

// Replaces a file as a whole or not at all. The content goes to a temporary file in the target's
// folder; Commit renames it over the target, so a reader sees the old file or the new one, never
// a half-written one, and a failure leaves the old file as it was. Without Commit the temporary
// file is removed. Every failure raises FileError naming the target and the system's reason.
// An existing file that the user may not write is refused ("Permission denied") before anything
// is written; a replaced file keeps its permission bits. A target that is a symbolic link is
// written through: the file at the end of its links (LinkTarget.h) is made or replaced and the
// link stays. The temporary file is recorded (TemporaryFiles.h) while it exists, so that a
// signal handler can remove it.
class AtomicFile {
public:
    explicit AtomicFile(std::string target, const AtomicFileCalls& calls = {});
    ~AtomicFile();
    AtomicFile(const AtomicFile&) = delete;
    AtomicFile& operator=(const AtomicFile&) = delete;

    void Write(const void* data, std::size_t size);
    void Write(const std::string& text) { Write(text.data(), text.size()); }
    // Flushes the content to disk and closes the temporary file.
    void Close();
    // Closes if still open, then puts the new content in place of the target.
    void Commit();

    const std::string& Target() const { return target_; }
    // The folder the content is put in: the target's, or that of the file its links end at.
    std::string Folder() const;

private:
    [[noreturn]] void Fail(int error);
    [[noreturn]] void Fail(const std::string& reason);
    void Discard() noexcept;

    AtomicFileCalls calls_;
    std::string target_;
    std::string destination_;  // the target, or the file that the target links to
    std::string temporary_;
    int fd_ = -1;
    int record_ = -1;  // the temporary file's ticket in TemporaryFiles.h
    bool committed_ = false;
};
