#include "about/ShowAbout.h"

void ShowAboutDialog(QWidget* /*owner*/) {}
