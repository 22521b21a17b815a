#pragma once

#include <QString>
#include <cstdint>

// The maker's contact address: the caption of the link label and the recipient of its mail.
inline const char* const kContactAddress = "contact@quillix.org";

// The one line naming the maker as the owner of the program.
inline const char* const kMakerNotice = "\u00a9 2026 Quillix Software";

// The warning against unauthorised copying, wrapped within its box.
inline const char* const kLegalWarning =
    "Warning: Quillix is protected by copyright law. Copying, selling or passing on this "
    "program, or any part of it, without the written permission of Quillix Software may "
    "lead to civil claims and criminal prosecution.";

// "Version " and the three numbers in plain decimal: 1, 0, 0 give "Version 1.0.0".
inline QString VersionCaption(std::int16_t major, std::int16_t minor, std::int16_t revision) {
    return QStringLiteral("Version %1.%2.%3").arg(major).arg(minor).arg(revision);
}
