// The Qt dialog's real widgets driven as a user would: layout and tab order,
// typing, the list, the number boxes, keys, the message box, the file choosers,
// dropped files, the log pane after runs, and closing. Runs on the offscreen platform.
#include <QAbstractItemView>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFile>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

#include <cstring>
#include <deque>
#include <functional>

#include "main_dialog.h"
#include "qt_window.h"

namespace {

const char kOneEntrySrt[] = "1\r\n00:01:00,000 --> 00:01:02,000\r\nHello\r\n\r\n";

using ModalAction = std::function<void(QWidget*)>;

std::string pathText(const std::array<char, kPathBufferSize>& path) {
    return path.data();
}

// The identifier of the control a widget belongs to (the combo's field is the combo's).
int idOf(QWidget* widget) {
    for (; widget != nullptr; widget = widget->parentWidget()) {
        bool isNumber = false;
        const int id = widget->objectName().toInt(&isNumber);
        if (isNumber && id >= kIdInputPath) return id;
    }
    return -1;
}

void confirmFile(QWidget* modal, const QString& path) {
    auto* chooser = qobject_cast<QFileDialog*>(modal);
    QVERIFY(chooser != nullptr);
    auto* nameEdit = chooser->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
    QVERIFY(nameEdit != nullptr);
    nameEdit->setText(path);
    QTest::keyClick(nameEdit, Qt::Key_Return);
}

}  // namespace

class QtDialogTest : public QObject {
    Q_OBJECT

    QWidget* window = nullptr;
    QTemporaryDir folder;
    // What to do with each modal window that opens, in order; a modal window
    // that nobody expected is recorded and closed.
    std::deque<ModalAction> modalActions;
    QStringList unexpectedModals;
    QTimer modalWatch;

    template <typename T>
    T* control(int id) {
        auto* widget = qobject_cast<T*>(dialogControl(window, id));
        if (widget == nullptr) qFatal("control %d missing or of another kind", id);
        return widget;
    }
    QString pathOf(const char* name) const { return folder.filePath(QString::fromUtf8(name)); }
    void write(const QString& path, const QByteArray& bytes) {
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    }
    QByteArray read(const QString& path) {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }
    QByteArray logBytes() {
        std::array<char, 1100> buffer{};
        dialogGetItemText(window, kIdLog, buffer.data(), static_cast<int>(buffer.size()));
        return buffer.data();
    }
    void typeInto(QLineEdit* edit, const QString& text) {
        edit->setFocus();
        edit->selectAll();
        QTest::keyClick(edit, Qt::Key_Delete);
        QTest::keyClicks(edit, text);
    }
    void expectModal(ModalAction action) { modalActions.push_back(std::move(action)); }
    void watchModals() {
        QWidget* modal = QApplication::activeModalWidget();
        if (modal == nullptr || !modal->isVisible()) return;
        if (modalActions.empty()) {
            unexpectedModals << modal->windowTitle();
            qobject_cast<QDialog*>(modal)->reject();
            return;
        }
        ModalAction action = std::move(modalActions.front());
        modalActions.pop_front();
        action(modal);
    }

private Q_SLOTS:
    void initTestCase() {
        QVERIFY(folder.isValid());
        modalWatch.setInterval(10);
        connect(&modalWatch, &QTimer::timeout, this, &QtDialogTest::watchModals);
        modalWatch.start();
    }

    void init() {
        programSettings() = ConversionSettings{};
        modalActions.clear();
        unexpectedModals.clear();
        window = createMainWindow();
        window->show();
        window->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(window));
    }

    void cleanup() {
        QVERIFY2(modalActions.empty(), "an expected modal window never opened");
        QCOMPARE(unexpectedModals, QStringList());
        delete window;
        window = nullptr;
    }

    void dialogUnitsConvertAsWindowsDoes() {
        // "MS Sans Serif" 8 on a 96 dpi screen has base units of 6 by 13.
        QCOMPARE(dialogUnitsToPixels(QRect(68, 10, 154, 12), QSize(6, 13)),
                 QRect(102, 16, 231, 20));
        QCOMPARE(dialogUnitsToPixels(QRect(9, 25, 49, 19), QSize(6, 13)), QRect(14, 41, 74, 31));
        QCOMPARE(dialogUnitsToPixels(QRect(0, 0, 232, 133), QSize(7, 16)), QRect(0, 0, 406, 266));
    }

    void windowIsTheFixedDialogOfTheTemplate() {
        const QSize base = dialogBaseUnits(dialogFont());
        QCOMPARE(window->windowTitle(), QStringLiteral("Marliva 1.0 by the Marliva developers"));
        QCOMPARE(window->minimumSize(), window->maximumSize());
        QCOMPARE(window->size(), dialogUnitsToPixels(QRect(0, 0, 232, 133), base).size());
        QVERIFY(window->windowFlags() & Qt::WindowMinimizeButtonHint);
        QVERIFY(!(window->windowFlags() & Qt::WindowMaximizeButtonHint));
        struct Row {
            int id;
            const char* kind;
            const char* text;
            QRect units;
        };
        const Row rows[] = {
            {kIdInputPath, "QLineEdit", "", {68, 10, 154, 12}},
            {kIdConvert, "QPushButton", "Convert", {9, 25, 49, 19}},
            {kIdOpen, "QPushButton", "Open", {9, 6, 49, 19}},
            {kIdOutputPath, "QLineEdit", "", {68, 28, 154, 12}},
            {kIdFrameRate, "QComboBox", "25", {51, 94, 48, 13}},
            {kIdLog, "QPlainTextEdit", "", {110, 63, 112, 45}},
            {kIdJoinWithNewline, "QCheckBox", "srt=>ssa newline use \\n", {13, 78, 88, 8}},
            {kIdFirstSubHours, "QLineEdit", "0", {89, 113, 14, 12}},
            {kIdFirstSubMinutes, "QLineEdit", "0", {114, 113, 14, 12}},
            {kIdFirstSubSeconds, "QLineEdit", "0", {138, 113, 14, 12}},
            {kIdFirstSubMillis, "QLineEdit", "0", {162, 113, 18, 12}},
            {kIdConvertAs, "QPushButton", "Convert as", {9, 44, 49, 19}},
            {kIdShiftFirstSub, "QCheckBox", "first sub (h:m:s.ms)", {13, 114, 73, 10}},
        };
        for (const Row& row : rows) {
            QWidget* widget = dialogControl(window, row.id);
            QVERIFY2(widget != nullptr && widget->inherits(row.kind), row.kind);
            const QRect expected = dialogUnitsToPixels(row.units, base);
            QCOMPARE(widget->pos(), expected.topLeft());
            QCOMPARE(widget->height(), expected.height());
            // Check boxes may reach to the right when their text needs it.
            QVERIFY(widget->width() == expected.width() ||
                    (widget->inherits("QCheckBox") && widget->width() > expected.width()));
            QString text;
            if (auto* button = qobject_cast<QAbstractButton*>(widget)) text = button->text();
            if (auto* edit = qobject_cast<QLineEdit*>(widget)) text = edit->text();
            if (auto* combo = qobject_cast<QComboBox*>(widget)) text = combo->currentText();
            QCOMPARE(text, QString::fromUtf8(row.text));
        }
        QCOMPARE(window->findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly).size(), 18);
        QStringList labels;
        for (QLabel* label : window->findChildren<QLabel*>()) {
            labels << label->text();
            QCOMPARE(label->focusPolicy(), Qt::NoFocus);
            QVERIFY(label->width() >= label->fontMetrics().horizontalAdvance(label->text()));
        }
        QCOMPARE(labels, (QStringList{"frame rate", "supports srt=>ssa, srt=>srt and ssa=>srt", ":",
                                      ":", "."}));
    }

    void tabOrderIsTemplateOrderFromTheInputPath() {
        QCOMPARE(idOf(QApplication::focusWidget()), static_cast<int>(kIdInputPath));
        QList<int> order;
        for (int i = 0; i < 14; ++i) {
            order << idOf(QApplication::focusWidget());
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        }
        QCOMPARE(order, (QList<int>{1016, 1017, 1018, 1019, 1021, 1023, 1029, 1022, 1025, 1026,
                                    1027, 1020, 1031, 1016}));
    }

    void creationShowsTheDefaults() {
        auto* combo = control<QComboBox>(kIdFrameRate);
        QVERIFY(combo->isEditable());
        QStringList items;
        for (int i = 0; i < combo->count(); ++i) items << combo->itemText(i);
        QCOMPARE(items, (QStringList{"30", "29.97", "25", "24", "23.976", "15"}));
        QCOMPARE(combo->currentIndex(), 2);
        QCOMPARE(programSettings().frameRate, 25.0);
        QVERIFY(control<QCheckBox>(kIdJoinWithNewline)->isChecked());
        QVERIFY(!control<QCheckBox>(kIdShiftFirstSub)->isChecked());
        for (QPushButton* button : window->findChildren<QPushButton*>())
            QVERIFY(!button->isDefault());
        auto* pane = control<QPlainTextEdit>(kIdLog);
        QVERIFY(pane->isReadOnly());
        QCOMPARE(pane->lineWrapMode(), QPlainTextEdit::WidgetWidth);
    }

    void pathEditsCopyAtMost254Characters() {
        typeInto(control<QLineEdit>(kIdInputPath), QStringLiteral("/subs/a.srt"));
        QCOMPARE(pathText(programSettings().inputPath), std::string("/subs/a.srt"));
        const std::string longPath = "/" + std::string(300, 'p') + ".ssa";
        // The program's own setting reports the change at once, even of an unchanged text.
        for (int round = 0; round < 2; ++round) {
            programSettings().outputPath[0] = '\0';
            dialogSetItemText(window, kIdOutputPath, longPath.c_str());
            QCOMPARE(pathText(programSettings().outputPath), longPath.substr(0, 254));
        }
        QCOMPARE(control<QLineEdit>(kIdOutputPath)->text().size(), longPath.size());
    }

    void frameRateFollowsTypingAndTheList() {
        auto* combo = control<QComboBox>(kIdFrameRate);
        const std::pair<QString, double> typed[] = {
            {"29.97", 29.97}, {"25 fps", 25.0}, {"abc", 0.0}, {"", 0.0}};
        for (const auto& [text, rate] : typed) {
            typeInto(combo->lineEdit(), text);
            QCOMPARE(combo->currentText(), text);
            QCOMPARE(programSettings().frameRate, rate);
        }
        // Enter in the field adds nothing to the list and starts nothing.
        QTest::keyClick(combo->lineEdit(), Qt::Key_Return);
        QCOMPARE(combo->count(), 6);
        combo->showPopup();
        QAbstractItemView* list = combo->view();
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                          list->visualRect(list->model()->index(4, 0)).center());
        QTRY_COMPARE(combo->currentText(), QStringLiteral("23.976"));
        QCOMPARE(programSettings().frameRate, 23.976);
        QTest::keyClick(combo, Qt::Key_Up);
        QCOMPARE(programSettings().frameRate, 24.0);
    }

    void focusChangesOfEditsAndTheListDoTheirRowsAction() {
        // Gaining or losing the focus is a notification like any other.
        programSettings().frameRate = 7.0;
        control<QComboBox>(kIdFrameRate)->setFocus();
        QCOMPARE(programSettings().frameRate, 25.0);
        programSettings().frameRate = 7.0;
        std::strcpy(programSettings().inputPath.data(), "stale");
        control<QLineEdit>(kIdInputPath)->setFocus();
        QCOMPARE(programSettings().frameRate, 25.0);
        QCOMPARE(pathText(programSettings().inputPath), std::string());
        // Push buttons and check boxes report only their clicks.
        control<QCheckBox>(kIdShiftFirstSub)->setFocus();
        dialogCheckButton(window, kIdShiftFirstSub, true);
        control<QPushButton>(kIdOpen)->setFocus();
        QVERIFY(!programSettings().shiftFirstSub);
    }

    void typingStopsAtTheRightEdge() {
        for (int id : {kIdFrameRate, kIdFirstSubHours, kIdFirstSubMillis}) {
            QLineEdit* edit =
                id == kIdFrameRate ? control<QComboBox>(id)->lineEdit() : control<QLineEdit>(id);
            const QString typed = QStringLiteral("12345678901234567890");
            typeInto(edit, typed);
            const QString kept = edit->text();
            QVERIFY2(kept.size() >= 2 && typed.startsWith(kept), qPrintable(kept));
            QCOMPARE(edit->cursorPosition(), kept.size());
            QVERIFY(kept.size() < typed.size());
        }
        QVERIFY(control<QLineEdit>(kIdFirstSubMillis)->text().size() >= 3);
        // The program may set more than fits.
        dialogSetItemInt(window, kIdFirstSubHours, 123456);
        QCOMPARE(dialogGetItemInt(window, kIdFirstSubHours), 123456u);
    }

    void numberBoxesTakeDigitsOnlyAndEmptyCountsAsZero() {
        auto* hours = control<QLineEdit>(kIdFirstSubHours);
        typeInto(hours, QStringLiteral("a1-b"));
        QCOMPARE(hours->text(), QStringLiteral("1"));
        typeInto(control<QLineEdit>(kIdFirstSubMinutes), QString());
        typeInto(control<QLineEdit>(kIdFirstSubSeconds), QStringLiteral("7"));
        typeInto(control<QLineEdit>(kIdFirstSubMillis), QStringLiteral("250"));
        // The boxes are read right before a run, even one that is then refused.
        expectModal([](QWidget* box) { qobject_cast<QMessageBox*>(box)->accept(); });
        QTest::mouseClick(control<QPushButton>(kIdConvert), Qt::LeftButton);
        const ConversionSettings& settings = programSettings();
        QCOMPARE(settings.firstSubMinutes, 0u);
        QCOMPARE(settings.firstSubSeconds, 7u);
        QCOMPARE(settings.firstSubMillis, 250u);
    }

    void checkBoxesFollowClicksButNotTheProgram() {
        QTest::mouseClick(control<QCheckBox>(kIdJoinWithNewline), Qt::LeftButton);
        QVERIFY(!programSettings().joinWithNewline);
        QTest::keyClick(control<QCheckBox>(kIdShiftFirstSub), Qt::Key_Space);
        QVERIFY(programSettings().shiftFirstSub);
        dialogCheckButton(window, kIdShiftFirstSub, false);
        QVERIFY(!dialogIsButtonChecked(window, kIdShiftFirstSub));
        QVERIFY(programSettings().shiftFirstSub);
    }

    void messageBoxCarriesTheRefusal() {
        typeInto(control<QLineEdit>(kIdInputPath), QStringLiteral("a.txt"));
        typeInto(control<QLineEdit>(kIdOutputPath), QStringLiteral("b.txt"));
        QString title, text;
        int buttons = 0;
        QMessageBox::Icon icon = QMessageBox::Critical;
        expectModal([&](QWidget* modal) {
            auto* box = qobject_cast<QMessageBox*>(modal);
            title = box->windowTitle();
            text = box->text();
            icon = box->icon();
            buttons = static_cast<int>(box->buttons().size());
            QTest::keyClick(box, Qt::Key_Return);
        });
        QTest::mouseClick(control<QPushButton>(kIdConvert), Qt::LeftButton);
        QCOMPARE(title, QStringLiteral("Debug Message"));
        QCOMPARE(text, QString::fromUtf8(kExtensionErrorMessage).replace("\r\n", "\n"));
        QCOMPARE(icon, QMessageBox::NoIcon);
        QCOMPARE(buttons, 1);
        QVERIFY(window->isVisible());
    }

    void keysEnterAndEscape() {
        const QString input = pathOf("keys.srt");
        const QString output = pathOf("keys.ssa");
        write(input, kOneEntrySrt);
        QFile::remove(output);
        typeInto(control<QLineEdit>(kIdInputPath), input);
        typeInto(control<QLineEdit>(kIdOutputPath), output);
        for (int id : {kIdInputPath, kIdOutputPath, kIdFirstSubHours}) {
            QTest::keyClick(control<QLineEdit>(id), Qt::Key_Return);
            QTest::keyClick(control<QLineEdit>(id), Qt::Key_Escape);
        }
        QTest::keyClick(control<QCheckBox>(kIdJoinWithNewline), Qt::Key_Enter);
        QVERIFY(window->isVisible());
        QVERIFY(!QFile::exists(output));
        QCOMPARE(logBytes(), QByteArray());
        // Enter presses the push button that has the focus.
        control<QPushButton>(kIdConvert)->setFocus();
        QVERIFY(control<QPushButton>(kIdConvert)->hasFocus());
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        QVERIFY(QFile::exists(output));
        QVERIFY(logBytes().startsWith("SRT => SSA"));
    }

    void openProposesTheOutputName() {
        const QString chosen = pathOf("a.srt");
        write(chosen, kOneEntrySrt);
        QStringList filters;
        QString title;
        QFileDialog::FileMode mode = QFileDialog::AnyFile;
        expectModal([&](QWidget* modal) {
            auto* chooser = qobject_cast<QFileDialog*>(modal);
            title = chooser->windowTitle();
            filters = chooser->nameFilters();
            mode = chooser->fileMode();
            QCOMPARE(chooser->selectedNameFilter(), QStringLiteral("Sub Files (.ssa;.srt)"));
            confirmFile(modal, chosen);
        });
        QTest::mouseClick(control<QPushButton>(kIdOpen), Qt::LeftButton);
        QCOMPARE(title, QStringLiteral("Open Sub File"));
        QCOMPARE(filters.size(), 2);
        QVERIFY(filters[0].startsWith(QStringLiteral("Sub Files (.ssa;.srt) (")));
        QVERIFY(filters[1].startsWith(QStringLiteral("All Files (")));
        QCOMPARE(mode, QFileDialog::ExistingFile);
        QCOMPARE(control<QLineEdit>(kIdInputPath)->text(), chosen);
        QCOMPARE(control<QLineEdit>(kIdOutputPath)->text(), pathOf("a.ssa"));
        QCOMPARE(pathText(programSettings().outputPath), pathOf("a.ssa").toStdString());
        // A cancel keeps the input and still proposes the output name.
        dialogSetItemText(window, kIdInputPath, pathOf("b.ssa").toUtf8().constData());
        expectModal([](QWidget* modal) { qobject_cast<QDialog*>(modal)->reject(); });
        QTest::mouseClick(control<QPushButton>(kIdOpen), Qt::LeftButton);
        QCOMPARE(control<QLineEdit>(kIdOutputPath)->text(), pathOf("b.srt"));
    }

    void openCopiesBack254CharactersOfALongerPath() {
        const QString folderPath = folder.path() + u'/' + QString(239 - folder.path().size(), u'd');
        QVERIFY(QDir().mkpath(folderPath));
        const QString chosen = folderPath + QStringLiteral("/long-name-1.srt");
        QCOMPARE(chosen.size(), 256);
        write(chosen, kOneEntrySrt);
        expectModal([&](QWidget* modal) { confirmFile(modal, chosen); });
        QTest::mouseClick(control<QPushButton>(kIdOpen), Qt::LeftButton);
        QCOMPARE(control<QLineEdit>(kIdInputPath)->text(), chosen);
        QCOMPARE(pathText(programSettings().inputPath), chosen.left(254).toStdString());
    }

    void droppedFilesGoThroughTheWindowToOpensWay() {
        const QPoint overInput = dialogControl(window, kIdInputPath)->geometry().center();
        // As the platform delivers them: to the window, which finds the widget under the
        // point and passes the drag up to the first one that takes drops. File managers
        // offer the files' addresses as text too, which an edit would paste.
        auto dragAndDrop = [&](const QList<QUrl>& urls) {
            QMimeData data;
            data.setUrls(urls);
            QStringList addresses;
            for (const QUrl& url : urls) addresses << url.toString();
            data.setText(addresses.join(u'\n'));
            QDragEnterEvent enter(overInput, Qt::CopyAction, &data, Qt::LeftButton, {});
            QCoreApplication::sendEvent(window->windowHandle(), &enter);
            QDropEvent drop(overInput, Qt::CopyAction, &data, Qt::LeftButton, {});
            QCoreApplication::sendEvent(window->windowHandle(), &drop);
            return enter.isAccepted() && drop.isAccepted();
        };
        QVERIFY(dragAndDrop({QUrl::fromLocalFile(pathOf("dropped.srt")),
                             QUrl::fromLocalFile(pathOf("second.ssa"))}));
        QCOMPARE(control<QLineEdit>(kIdInputPath)->text(), pathOf("dropped.srt"));
        QCOMPARE(control<QLineEdit>(kIdOutputPath)->text(), pathOf("dropped.ssa"));
        QCOMPARE(pathText(programSettings().inputPath), pathOf("dropped.srt").toStdString());
        // A drag whose first item is no local file is refused and changes nothing.
        QVERIFY(!dragAndDrop({QUrl(QStringLiteral("https://example.invalid/remote.srt"))}));
        QVERIFY(!dragAndDrop({}));
        QCOMPARE(control<QLineEdit>(kIdInputPath)->text(), pathOf("dropped.srt"));
    }

    void convertAsTakesANewNameAndOverwritesWithoutAQuestion() {
        const QString input = pathOf("c.srt");
        write(input, kOneEntrySrt);
        dialogSetItemText(window, kIdInputPath, input.toUtf8().constData());
        // A cancel starts no run.
        expectModal([](QWidget* modal) { qobject_cast<QDialog*>(modal)->reject(); });
        QTest::mouseClick(control<QPushButton>(kIdConvertAs), Qt::LeftButton);
        QCOMPARE(logBytes(), QByteArray());
        const QString output = pathOf("new-name.ssa");
        QFile::remove(output);
        QString title;
        for (int round = 0; round < 2; ++round) {
            expectModal([&](QWidget* modal) {
                title = modal->windowTitle();
                QCOMPARE(qobject_cast<QFileDialog*>(modal)->fileMode(), QFileDialog::AnyFile);
                confirmFile(modal, output);
            });
            QTest::mouseClick(control<QPushButton>(kIdConvertAs), Qt::LeftButton);
            QVERIFY(read(output).startsWith("[Script Info]"));
            write(output, "old contents");
        }
        QCOMPARE(title, QStringLiteral("Save Sub File"));
        QCOMPARE(control<QLineEdit>(kIdOutputPath)->text(), output);
    }

    void logPaneKeepsItsNewestLinesAfterManyRuns() {
        const QString input = pathOf("d.srt");
        write(input, kOneEntrySrt);
        dialogSetItemText(window, kIdInputPath, input.toUtf8().constData());
        dialogSetItemText(window, kIdOutputPath, pathOf("d.ssa").toUtf8().constData());
        for (int run = 0; run < 40; ++run)
            QTest::mouseClick(control<QPushButton>(kIdConvert), Qt::LeftButton);
        const QByteArray log = logBytes();
        QVERIFY(log.size() <= 1022 && log.size() > 900);
        QVERIFY(log.endsWith("\r\n"));
        QVERIFY(log.contains("SRT => SSA"));
        QVERIFY(log.contains("subs : 1\r\n"));
        // Every line break of the pane is a carriage return and line feed pair.
        QCOMPARE(log.count('\n'), log.count("\r\n"));
        QCOMPARE(control<QPlainTextEdit>(kIdLog)->toPlainText().toUtf8(),
                 QByteArray(log).replace("\r\n", "\n"));
    }

    void closingEndsTheLoopAndTheProgramWithStatusOne() {
        delete window;  // the program makes its own window
        window = nullptr;
        bool closed = false;
        QTimer::singleShot(50, [&] {
            for (QWidget* top : QApplication::topLevelWidgets()) {
                if (top->objectName() == QStringLiteral("107") && top->isVisible())
                    closed = top->close();
            }
        });
        QTimer watchdog;
        watchdog.setSingleShot(true);
        connect(&watchdog, &QTimer::timeout, [] { QCoreApplication::exit(99); });
        watchdog.start(10000);
        QCOMPARE(runMainDialog(), 1);
        QVERIFY(watchdog.isActive());
        QVERIFY(closed);
        window = createMainWindow();  // for cleanup
    }
};

QTEST_MAIN(QtDialogTest)
#include "qt_dialog_test.moc"
