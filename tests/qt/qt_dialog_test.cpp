// What the Qt platform adds to the dialog logic, and only that (the logic's
// suite over its double proves the behaviour): the window against the layout
// table; typing, clicks, keys, the file dialogs, the message
// box, dropped files and the close request as on Win32; the program's run of
// the dialog ends with status 1. Runs on the offscreen platform.
#include <QAbstractItemView>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTimer>
#include <QtTest>

#include <filesystem>
#include <functional>

#include "main_dialog.h"
#include "qt_window.h"
#include "../scratch_folder.h"

namespace {

const char kOneEntrySrt[] = "1\r\n00:01:00,000 --> 00:01:02,000\r\nHello\r\n\r\n";

const char* widgetClassOf(ControlKind kind) {
    switch (kind) {
    case ControlKind::PathEdit:
    case ControlKind::TextEdit:
    case ControlKind::NumberBox: return "QLineEdit";
    case ControlKind::PushButton: return "QPushButton";
    case ControlKind::CheckBox: return "QCheckBox";
    case ControlKind::Combo: return "QComboBox";
    case ControlKind::Label: return "QLabel";
    case ControlKind::LogPane: return "QPlainTextEdit";
    }
    return "";
}

// The identifier of the control a widget belongs to (the combo's field is the combo's).
int idOf(QWidget* widget) {
    bool isNumber = false;
    const int id = widget->objectName().toInt(&isNumber);
    return isNumber ? id : idOf(widget->parentWidget());
}

}  // namespace

class QtDialogTest : public QObject {
    Q_OBJECT

    DialogWindow* window = nullptr;
    ScratchFolder files;
    QStringList modalTitles;  // of the modal windows answered

    template <typename T>
    T* control(int id) {
        return qobject_cast<T*>(dialogControl(window, id));
    }
    QString logText() { return control<QPlainTextEdit>(IDC_LOG)->toPlainText(); }
    const ConversionSettings& settings() { return window->dialog.settings; }
    void typeInto(QLineEdit* edit, const QString& text) {
        edit->setFocus();
        edit->selectAll();
        QTest::keyClick(edit, Qt::Key_Delete);
        QTest::keyClicks(edit, text);
    }
    void click(int id) { QTest::mouseClick(dialogControl(window, id), Qt::LeftButton); }
    // Answers the modal window that the next action opens, once its loop runs.
    void whenModal(std::function<void(QDialog*)> answer) {
        QTimer::singleShot(0, this, [this, answer] {
            auto* modal = qobject_cast<QDialog*>(QApplication::activeModalWidget());
            QVERIFY2(modal != nullptr, "no modal window opened");
            modalTitles << modal->windowTitle();
            answer(modal);
        });
    }
    void pickFile(const std::string& path) {
        whenModal([path](QDialog* modal) {
            auto* name = modal->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
            name->setText(QString::fromStdString(path));
            QTest::keyClick(name, Qt::Key_Return);
        });
    }

private Q_SLOTS:
    void init() {
        modalTitles.clear();
        window = createMainWindow();
        window->show();
        window->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(window));
    }

    void cleanup() { delete window; }

    void windowFollowsTheLayoutTable() {
        // "MS Sans Serif" 8 on a 96 dpi screen has base units of 6 by 13.
        QCOMPARE(dialogUnitsToPixels({68, 10, 154, 12}, QSize(6, 13)), QRect(102, 16, 231, 20));
        const QSize base = dialogBaseUnits(window->font());
        QCOMPARE(window->windowTitle(), QString::fromUtf8(kMainDialogCaption));
        QCOMPARE(window->minimumSize(), window->maximumSize());
        QCOMPARE(window->size(), dialogUnitsToPixels(kMainDialogUnits, base).size());
        const QList<QWidget*> children = window->findChildren<QWidget*>(Qt::FindDirectChildrenOnly);
        QCOMPARE(children.size(), qsizetype(std::size(kMainDialogControls)));
        QList<int> tabStops;
        for (qsizetype i = 0; i < children.size(); ++i) {
            const ControlLayout& layout = kMainDialogControls[i];
            QWidget* widget = children[i];
            QVERIFY2(widget->inherits(widgetClassOf(layout.kind)), layout.text);
            if (layout.id != IDC_STATIC) tabStops << layout.id;
            const bool label = layout.id == IDC_STATIC;
            QCOMPARE(widget->focusPolicy(), label ? Qt::NoFocus : Qt::StrongFocus);
            QCOMPARE(widget->objectName(), label ? QString() : QString::number(layout.id));
            const QString text = QString::fromUtf8(layout.text);
            if (auto* button = qobject_cast<QAbstractButton*>(widget))
                QCOMPARE(button->text(), text);
            if (auto* shown = qobject_cast<QLabel*>(widget)) QCOMPARE(shown->text(), text);
            // A combo box is as high as its field, 13 units; labels and check
            // boxes reach further right when their text needs it.
            QRect expected = dialogUnitsToPixels(layout.units, base);
            if (layout.kind == ControlKind::Combo)
                expected.setHeight(dialogUnitsToPixels({0, 0, 0, 13}, base).height());
            QCOMPARE(widget->pos(), expected.topLeft());
            QCOMPARE(widget->height(), expected.height());
            const bool mayGrow = label || layout.kind == ControlKind::CheckBox;
            QVERIFY(widget->width() == expected.width() ||
                    (mayGrow && widget->width() > expected.width()));
        }
        // Tab goes round the tab stops in the table's order, from the first.
        QList<int> visited;
        for (qsizetype i = 0; i <= tabStops.size(); ++i) {
            visited << idOf(QApplication::focusWidget());
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        }
        QCOMPARE(visited, tabStops + QList<int>{tabStops.front()});
    }

    void typingAndClicksReachTheLogic() {
        typeInto(control<QLineEdit>(IDC_INPUT_PATH), QStringLiteral("/subs/a.srt"));
        QCOMPARE(settings().inputPath, std::string("/subs/a.srt"));
        auto* combo = control<QComboBox>(IDC_FRAME_RATE);
        typeInto(combo->lineEdit(), QStringLiteral("29.97"));
        QCOMPARE(settings().frameRate, 29.97);
        combo->showPopup();
        QAbstractItemView* list = combo->view();
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                          list->visualRect(list->model()->index(4, 0)).center());
        QTRY_COMPARE(settings().frameRate, 23.976);
        click(IDC_JOIN_WITH_NEWLINE);
        QTest::keyClick(control<QCheckBox>(IDC_SHIFT_FIRST_SUB), Qt::Key_Space);
        QVERIFY(!settings().joinWithNewline);
        QVERIFY(settings().shiftFirstSub);
        QTest::keyClick(control<QCheckBox>(IDC_TRANSLATE_TAGS), Qt::Key_Space);
        QVERIFY(settings().markup == MarkupMode::translate);
    }

    void enterPressesOnlyAFocusedButtonAndEscapeNothing() {
        dialogSetItemText(window, IDC_INPUT_PATH, files.write("in.srt", kOneEntrySrt));
        dialogSetItemText(window, IDC_OUTPUT_PATH, files.pathOf("out.ssa"));
        for (int id : {IDC_INPUT_PATH, IDC_FIRST_SUB_HOURS, IDC_JOIN_WITH_NEWLINE}) {
            QTest::keyClick(dialogControl(window, id), Qt::Key_Return);
            QTest::keyClick(dialogControl(window, id), Qt::Key_Escape);
        }
        QVERIFY(window->isVisible());
        QVERIFY(!std::filesystem::exists(files.pathOf("out.ssa")));
        control<QPushButton>(IDC_CONVERT)->setFocus();
        QTest::keyClick(control<QPushButton>(IDC_CONVERT), Qt::Key_Return);
        QVERIFY(logText().startsWith(QStringLiteral("SRT => SSA ... done.\n\ntime : ")));
    }

    // Paths pass whole as UTF-8 bytes, whatever their letters and length.
    void fileDialogsAndTheMessageBoxPassPathsWhole() {
        const std::string folder = std::string(200, 'd') + "/" + std::string(200, 'e') + "/";
        std::filesystem::create_directories(files.pathOf(folder));
        // Greek, German, Chinese
        const std::string name = folder + "\xCE\xA9mega \xC3\xBC \xE5\xAD\x97";
        const std::string input = files.write(name + ".srt", kOneEntrySrt);
        pickFile(input);
        click(IDC_OPEN);
        QCOMPARE(settings().inputPath, input);
        pickFile(files.pathOf(name + ".out.ssa"));
        click(IDC_CONVERT_AS);
        QCOMPARE(settings().outputPath, files.pathOf(name + ".out.ssa"));
        QString text;
        whenModal([&](QDialog* modal) {
            auto* box = qobject_cast<QMessageBox*>(modal);
            text = box->text();
            QCOMPARE(box->buttons().size(), qsizetype(1));
            QTest::keyClick(box, Qt::Key_Return);
        });
        dialogMessageBox(window, "first\n" + name, "Debug Message");
        QCOMPARE(modalTitles.join(u','),
                 QStringLiteral("Open Sub File,Save Sub File,Debug Message"));
        QCOMPARE(text, QStringLiteral("first\n") + QString::fromStdString(name));
        // A path with a lone surrogate has no bytes: refused, named in a message box.
        std::string kept = "kept";
        whenModal([](QDialog* modal) { modal->accept(); });
        QVERIFY(!programPathOf(window, u"a\xD800", kept) && kept == "kept" && modalTitles.size() == 4);
    }

    // As the platform delivers a drag from a file manager: to the window, with
    // the files' addresses as text too, which an edit would paste.
    void aDroppedFileReachesTheLogic() {
        auto dragAndDrop = [&](const QList<QUrl>& urls) {
            QMimeData data;
            data.setUrls(urls);
            data.setText(urls.isEmpty() ? QString() : urls.front().toString());
            const QPointF overInput = dialogControl(window, IDC_INPUT_PATH)->geometry().center();
            QDragEnterEvent enter(overInput.toPoint(), Qt::CopyAction, &data, Qt::LeftButton, {});
            QCoreApplication::sendEvent(window->windowHandle(), &enter);
            QDropEvent drop(overInput, Qt::CopyAction, &data, Qt::LeftButton, {});
            QCoreApplication::sendEvent(window->windowHandle(), &drop);
            return enter.isAccepted() && drop.isAccepted();
        };
        QVERIFY(dragAndDrop({QUrl::fromLocalFile(QStringLiteral("/subs/dropped.srt")),
                             QUrl::fromLocalFile(QStringLiteral("/subs/second.ssa"))}));
        QCOMPARE(settings().inputPath, std::string("/subs/dropped.srt"));
        QVERIFY(!dragAndDrop({QUrl(QStringLiteral("https://example.invalid/remote.srt"))}));
        QCOMPARE(settings().inputPath, std::string("/subs/dropped.srt"));
    }

    // The program's own window, in its own loop: Escape leaves it open, the
    // close request ends the loop, and the program's status is 1.
    void timingOpensAModalWindowWhoseKeysReachTheLogic() {
        // Enter in an edit is OK; the speed change reaches the settings.
        QTimer::singleShot(0, this, [this] {
            QWidget* timing = QApplication::activeModalWidget();
            QVERIFY2(timing != nullptr && timing->objectName() == QString::number(IDD_TIMING), "no timing window");
            modalTitles << timing->windowTitle();
            QCOMPARE(timing->findChildren<QWidget*>(Qt::FindDirectChildrenOnly).size(),
                     qsizetype(std::size(kTimingDialogControls)));
            auto* handle = static_cast<DialogWindow*>(timing);
            QTest::mouseClick(dialogControl(handle, IDC_RETIME), Qt::LeftButton);
            qobject_cast<QComboBox*>(dialogControl(handle, IDC_RETIME_TO))->setCurrentIndex(1);  // 24
            QTest::keyClick(dialogControl(handle, IDC_SYNC_A), Qt::Key_Return);
        });
        click(IDC_TIMING);
        QCOMPARE(modalTitles, QStringList{QString::fromUtf8(kTimingDialogCaption)});
        QVERIFY(settings().retime);
        QCOMPARE(settings().retimeFrom.num, 24000);
        QCOMPARE(settings().retimeTo.num, 24);
        // Escape cancels, whatever was changed.
        QTimer::singleShot(0, this, [] {
            auto* handle = static_cast<DialogWindow*>(QApplication::activeModalWidget());
            QTest::mouseClick(dialogControl(handle, IDC_RETIME), Qt::LeftButton);
            QTest::keyClick(handle, Qt::Key_Escape);
        });
        click(IDC_TIMING);
        QVERIFY(settings().retime);
        QVERIFY(QApplication::activeModalWidget() == nullptr);
    }

    void closingEndsTheProgramWithStatusOne() {
        delete window;
        window = nullptr;
        bool openAfterEscape = false;
        QTimer::singleShot(50, [&] {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
            QTimer::singleShot(100, [&] {
                for (QWidget* shown : QApplication::topLevelWidgets()) {
                    if (shown->objectName() != QString::number(IDD_MAIN) || !shown->isVisible())
                        continue;
                    openAfterEscape = true;
                    shown->close();
                }
            });
        });
        QTimer watchdog;
        connect(&watchdog, &QTimer::timeout, [] { QCoreApplication::exit(99); });
        watchdog.start(10000);
        QCOMPARE(runMainDialog(), 1);
        QVERIFY(watchdog.isActive());
        QVERIFY(openAfterEscape);
    }
};

QTEST_MAIN(QtDialogTest)
#include "qt_dialog_test.moc"
