// The main dialog as a Qt window: its controls at their dialog-unit rectangles,
// wired to the dialog logic, and the program's run of it. Private to the Qt
// implementation of the platform's dialog services.
#pragma once

#include <QFont>
#include <QRect>
#include <QSize>
#include <QWidget>

#include <string_view>

#include "dialog_layout.h"
#include "main_dialog.h"
#include "platform_dialog.h"
#include "timing_dialog.h"

class QEventLoop;

// The window: it owns the dialog object and hands the user's actions to the
// logic. A drag whose first file is a local one is taken anywhere on the window
// (the controls take no drops of their own), and its drop hands that file's
// path to the logic.
struct DialogWindow final : QWidget {
    DialogWindow();
    // Nothing reaches the logic once the window starts to go.
    ~DialogWindow() override;

    MainDialog dialog;
    bool open = true;
    // A timing dialog's window: its dialog object, which its controls report
    // to in place of the main dialog's, and the loop that runs while it is open.
    TimingDialog* timing = nullptr;
    QEventLoop* modalLoop = nullptr;

protected:
    // A timing dialog's keys: Escape is Cancel; Enter, where no push button
    // has the focus to take it, is OK.
    void keyPressEvent(QKeyEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dropEvent(QDropEvent* event) override;
};

// The horizontal and vertical dialog base units of a font, as Windows computes
// them: the average width of the 52 Latin letters, rounded, and the font's height.
QSize dialogBaseUnits(const QFont& font);
// A rectangle in dialog units converted to pixels.
QRect dialogUnitsToPixels(DialogUnits units, QSize baseUnits);

// A Qt text as the UTF-16 that programPathOf takes.
inline std::u16string_view utf16Of(const QString& text) {
    return {QStringView(text).utf16(), static_cast<std::size_t>(text.size())};
}

// The control with identifier `id` (object name "1016" etc.).
QWidget* dialogControl(DialogHandle dialog, int id);
// Hands a command of control `id` to the logic, while the window is open.
void reportCommand(DialogWindow* window, int id);

// Builds the fixed-size window with its dialog object and its controls in tab
// order, wires every notification of a control to mainDialogCommand and the
// close request to mainDialogClose, hands files dropped anywhere on it to
// mainDialogDropFile, runs mainDialogInit and puts the focus on the first tab
// stop. The window is not shown yet.
DialogWindow* createMainWindow();
// Shows the window centred on its screen, runs the event loop until the dialog
// posts its quit request and returns the program's exit status, which is 1.
int runMainDialog();
