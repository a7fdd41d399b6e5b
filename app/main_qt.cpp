// The entry point of the dialog program on platforms without Win32: shows the
// main dialog and exits with status 1 once it has been closed. --help and
// --version answer before Qt starts, so they work without a display; with no
// display to open the dialog on, the program says so in one line and exits
// with status 1.
#include <QApplication>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "qt_window.h"
#include "version.h"

namespace {

const char kUsage[] =
    "usage: marliva [--help | --version]\n"
    "\n"
    "Opens the Marliva dialog, which converts subtitle files between SRT timing\n"
    "lines, frame lines and SSA scripts; drop a file onto it or press Open.\n"
    "Any other argument is ignored. From the command line: marliva-convert --help\n";

// Why the window system did not start, in one line.
std::string noDisplayText() {
    const auto variable = [](const char* name) {
        const char* value = std::getenv(name);
        return std::string(value ? value : "");
    };
    std::string where;
    if (!variable("QT_QPA_PLATFORM").empty())
        where = "the platform \"" + variable("QT_QPA_PLATFORM") + "\" (QT_QPA_PLATFORM)";
    else if (!variable("WAYLAND_DISPLAY").empty())
        where = "the display \"" + variable("WAYLAND_DISPLAY") + "\" (WAYLAND_DISPLAY)";
    else if (!variable("DISPLAY").empty())
        where = "the display \"" + variable("DISPLAY") + "\" (DISPLAY)";
    const std::string instead = "; marliva-convert converts files without one";
    if (where.empty()) return "no display to open the dialog on (neither DISPLAY nor WAYLAND_DISPLAY is set)" + instead;
    return "cannot open the dialog on " + where + instead;
}

// Qt's messages while the window system starts: when it cannot start, the
// program ends with its own line rather than Qt's lines and an abort; other
// messages are held and passed on once it has started.
struct HeldMessage {
    QtMsgType type;
    std::string category;
    QString text;
};
bool starting = false;
std::vector<HeldMessage> held;
QtMessageHandler qtHandler = nullptr;

// Qt's own handler, or where there is none, the text on stderr.
void passOn(QtMsgType type, const QMessageLogContext& context, const QString& text) {
    if (qtHandler)
        qtHandler(type, context, text);
    else
        std::fprintf(stderr, "%s\n", text.toLocal8Bit().constData());
}

void onQtMessage(QtMsgType type, const QMessageLogContext& context, const QString& text) {
    if (!starting) {
        passOn(type, context, text);
        return;
    }
    if (type == QtFatalMsg) {
        std::fprintf(stderr, "marliva: %s\n", noDisplayText().c_str());
        std::fflush(stderr);
        std::_Exit(1);
    }
    held.push_back({type, context.category ? context.category : "", text});
}

void passOnHeldMessages() {
    starting = false;
    for (const HeldMessage& message : held) {
        const QMessageLogContext context(nullptr, 0, nullptr, message.category.c_str());
        passOn(message.type, context, message.text);
    }
    held.clear();
}

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
    starting = true;
    qtHandler = qInstallMessageHandler(onQtMessage);
    QApplication application(argc, argv);
    passOnHeldMessages();
    QApplication::setApplicationName(QStringLiteral("marliva"));
    QApplication::setApplicationVersion(QStringLiteral(MARLIVA_VERSION));
    QApplication::setDesktopFileName(QStringLiteral("marliva"));
    return runMainDialog();
}
