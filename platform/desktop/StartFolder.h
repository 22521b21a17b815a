#pragma once

#include <QString>

// The folder an Open dialog starts in, given the remembered path of the last picture: that
// path's folder when it still exists (a "c:\..." path is placed by the drive mapping), else the
// nearest folder above it that exists, else the user's home folder.
QString StartFolder(const QString& rememberedPath);
