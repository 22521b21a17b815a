#pragma once

#include <string>

// An advisory lock (flock) on a folder, held while the object lives. Writers that take it around
// putting a group of files in place in that folder take turns, so that one writer's group is never
// mixed with another's. Taking it waits for the writer that holds it. Where the folder cannot be
// opened or the file system cannot lock it, nothing is locked and nothing waits: the files are
// still each replaced whole.
class FolderLock {
public:
    explicit FolderLock(const std::string& folder);
    ~FolderLock();
    FolderLock(const FolderLock&) = delete;
    FolderLock& operator=(const FolderLock&) = delete;

private:
    int fd_ = -1;
};
