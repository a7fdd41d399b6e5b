// Renders the main dialog's window, as the program creates it, to a PNG file:
// window_screenshot OUTPUT.png (run with QT_QPA_PLATFORM=offscreen).
#include <QApplication>
#include <QPixmap>
#include <QWidget>

#include <cstdio>
#include <memory>

#include "qt_window.h"

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: window_screenshot OUTPUT.png\n");
        return 2;
    }
    std::unique_ptr<QWidget> window(createMainWindow());
    window->show();
    QApplication::processEvents();
    return window->grab().save(QString::fromLocal8Bit(argv[1]), "PNG") ? 0 : 1;
}
