#pragma once

#include <QCursor>
#include <QIcon>
#include <QPixmap>

// Pictures built into the program, by their resource numbers.
namespace ProgramResources {
QPixmap Bitmap(int id); // 3000: the main window's background
QPixmap Icon(int id);   // 2012: the about window's picture
QCursor Cursor(int id); // 1000: the pointer over links
QIcon ProgramIcon();
} // namespace ProgramResources
