// The entry point of the dialog program on platforms without Win32: shows the
// main dialog and exits with status 1 once it has been closed.
#include <QApplication>

#include "qt_window.h"

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("marliva"));
    QApplication::setApplicationVersion(QStringLiteral("1.0"));
    QApplication::setDesktopFileName(QStringLiteral("marliva"));
    return runMainDialog();
}
