#pragma once

// The application's title: the main window's caption, the title of its message boxes and the
// name under which its settings are kept.
inline constexpr const char* kApplicationTitle = "Quillix";
