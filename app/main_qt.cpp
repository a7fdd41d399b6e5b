// The entry point of the dialog program on platforms without Win32: shows the
// main dialog and exits with status 1 once it has been closed. --help and
// --version answer before Qt starts, so they work without a display.
#include <QApplication>

#include <cstdio>
#include <cstring>

#include "qt_window.h"
#include "version.h"

namespace {

const char kUsage[] =
    "usage: marliva [--help | --version]\n"
    "\n"
    "Opens the Marliva dialog, which converts subtitle files between SRT timing\n"
    "lines, frame lines and SSA scripts; drop a file onto it or press Open.\n"
    "Any other argument is ignored. From the command line: marliva-convert --help\n";

}  // namespace

int main(int argc, char** argv) {
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--help") == 0 || std::strcmp(argv[i], "-h") == 0) {
            std::fputs(kUsage, stdout);
            return 0;
        }
        if (std::strcmp(argv[i], "--version") == 0) {
            std::puts("marliva " MARLIVA_VERSION);
            return 0;
        }
    }
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("marliva"));
    QApplication::setApplicationVersion(QStringLiteral(MARLIVA_VERSION));
    QApplication::setDesktopFileName(QStringLiteral("marliva"));
    return runMainDialog();
}
