#pragma once
// The toolbar's 16 x 16 pictures, drawn by the program itself.
#include <QIcon>

enum class ToolbarIconKind { New, Open, Save, Cut, Copy, Paste, Read, Write, Print, About };

QIcon ToolbarIcon(ToolbarIconKind kind);

// The splash picture, 412 x 289.
QPixmap SplashPicture();
