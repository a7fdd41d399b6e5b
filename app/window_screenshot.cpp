// Renders the main dialog's window, as the program creates it, to a PNG file,
// under a caption bar drawn by the Qt style (the offscreen platform has no
// window manager to draw one): window_screenshot OUTPUT.png.
#include <QApplication>
#include <QPainter>
#include <QPixmap>
#include <QStyle>
#include <QStyleOptionTitleBar>
#include <QWidget>

#include <cstdio>
#include <memory>

#include "qt_window.h"

namespace {

QPixmap withCaptionBar(QWidget* window) {
    const QPixmap client = window->grab();
    QStyleOptionTitleBar bar;
    bar.initFrom(window);
    bar.text = window->windowTitle();
    bar.titleBarFlags = window->windowFlags();
    bar.titleBarState = Qt::WindowActive;
    bar.state |= QStyle::State_Active;
    bar.subControls =
        QStyle::SC_TitleBarLabel | QStyle::SC_TitleBarMinButton | QStyle::SC_TitleBarCloseButton;
    const int height = window->style()->pixelMetric(QStyle::PM_TitleBarHeight, &bar, window);
    bar.rect = QRect(0, 0, client.width(), height);
    QPixmap picture(client.width(), height + client.height());
    picture.fill(window->palette().window().color());
    QPainter painter(&picture);
    window->style()->drawComplexControl(QStyle::CC_TitleBar, &bar, &painter, window);
    painter.drawPixmap(0, height, client);
    return picture;
}

}  // namespace

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: window_screenshot OUTPUT.png\n");
        return 2;
    }
    std::unique_ptr<QWidget> window(createMainWindow());
    window->show();
    QApplication::processEvents();
    return withCaptionBar(window.get()).save(QString::fromLocal8Bit(argv[1]), "PNG") ? 0 : 1;
}
