#include "platform/files/LinkTarget.h"

#include <limits.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace {

// As many links as the Linux kernel follows in one path.
constexpr int kMostLinks = 40;

}  // namespace

std::string LinkTarget(const std::string& path) {
    std::string current = path;
    char text[PATH_MAX];
    for (int links = 0;; ++links) {
        const ssize_t length = ::readlink(current.c_str(), text, sizeof text);
        // Not a link (or nothing there yet): this is the file.
        if (length < 0) return current;
        if (links == kMostLinks) throw FileError(path, std::strerror(ELOOP));
        const std::string target(text, static_cast<std::size_t>(length));
        if (target.starts_with('/')) {
            current = target;
        } else {
            current.erase(current.find_last_of('/') + 1);  // npos + 1 == 0: no folder
            current += target;
        }
    }
}
