#pragma once

#include <QIcon>

// The program's icon, drawn at 32 x 32 and 16 x 16 in a few plain colours: a monitor showing the
// colour bars of a MODE 2 screen. The main window and the About dialog both show it.
QIcon ProgramIcon();
