#pragma once

// The picture a user asks for outside the Open dialog: named when the program starts (as a file
// manager's "Open With" does) or dropped onto the window.

#include <QString>
#include <optional>

class QMimeData;

// The first argument after the program's name, as a full path (a relative one is taken from the
// current folder); nothing when there is none.
std::optional<QString> PictureFromArguments(int argc, const char* const* argv);

// The first item dropped, when it is a local file, as a full path; nothing otherwise.
std::optional<QString> DroppedPicture(const QMimeData& data);
