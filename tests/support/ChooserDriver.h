#pragma once

#include <QString>

class QWidget;

// What a person does in the game chooser.
namespace ChooserDriver {
// Opens the chooser from the window's menu and clicks the row; false when
// no chooser came up to answer.
bool ChooseFromMenu(QWidget* mainWindow, int row);
// Clicks the row of the list (1 = first puzzle).
void ClickRow(QWidget* chooser, int row);
// Moves down `steps` rows with the arrow key and presses Enter.
void ArrowDownAndEnter(QWidget* chooser, int steps);
void PressOk(QWidget* chooser);
void PressCancel(QWidget* chooser);
void PressEscape(QWidget* chooser);
// The texts of the list's rows.
QStringList Rows(QWidget* chooser);
int SelectedRow(QWidget* chooser);
} // namespace ChooserDriver
