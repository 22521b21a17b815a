#pragma once

class QWidget;

// Shows the About dialog modally, owned by and centred over owner; returns when it closes.
void ShowAboutDialog(QWidget* owner);
