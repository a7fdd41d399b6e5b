// The main dialog as a Qt window: its controls at their dialog-unit rectangles,
// wired to the dialog logic, and the program's run of it. Private to the Qt
// implementation of the platform's dialog services.
#pragma once

#include <QFont>
#include <QRect>
#include <QSize>

#include "dialog_layout.h"
#include "platform_dialog.h"

class QWidget;
struct MainDialog;

// The horizontal and vertical dialog base units of a font, as Windows computes
// them: the average width of the 52 Latin letters, rounded, and the font's height.
QSize dialogBaseUnits(const QFont& font);
// A rectangle in dialog units converted to pixels.
QRect dialogUnitsToPixels(DialogUnits units, QSize baseUnits);

// The window and the control with identifier `id` (object name "1016" etc.).
QWidget* windowOf(DialogHandle dialog);
QWidget* dialogControl(DialogHandle dialog, int id);
// The dialog object that the window owns.
MainDialog& mainDialogOf(QWidget* window);
// Hands a command of control `id` to the handler that the logic registered.
void reportCommand(QWidget* window, int id);

// Builds the fixed-size window with its dialog object and its controls in tab
// order, wires every notification of a control to the logic's command handler
// and the close request to mainDialogClose, hands files dropped anywhere on it
// to mainDialogDropFile, runs mainDialogInit and puts the focus on the first
// tab stop. The window is not shown yet.
QWidget* createMainWindow();
// Shows the window centred on its screen, runs the event loop until the dialog
// posts its quit request and returns the program's exit status, which is 1.
int runMainDialog();
