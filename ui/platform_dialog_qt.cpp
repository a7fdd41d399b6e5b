// The platform's dialog services on Qt 6 Widgets: the main window's controls,
// the message box and the file chooser, with the Win32 behaviours the logic relies on.
#include <QAbstractButton>
#include <QComboBox>
#include <QCoreApplication>
#include <QFile>
#include <QFileDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QTextCursor>
#include <QSignalBlocker>
#include <QThread>

#include <cstring>

#include "main_dialog.h"
#include "platform_dialog.h"
#include "qt_window.h"

namespace {

// The log pane keeps the exact bytes it was given (its line ends are carriage
// return and line feed pairs, which the text widget would turn into paragraphs).
constexpr char kLogBytesProperty[] = "marlivaLogBytes";

QString textOf(const char* bytes) {
    return QString::fromUtf8(bytes);
}

// Copies at most count - 1 bytes without cutting a UTF-8 sequence, terminates.
unsigned copyOut(const QByteArray& bytes, char* buffer, int count) {
    if (count <= 0) return 0;
    qsizetype length = std::min<qsizetype>(bytes.size(), count - 1);
    if (length < bytes.size()) {
        while (length > 0 && (static_cast<unsigned char>(bytes[length]) & 0xC0) == 0x80) --length;
    }
    std::memcpy(buffer, bytes.constData(), static_cast<std::size_t>(length));
    buffer[length] = '\0';
    return static_cast<unsigned>(length);
}

QByteArray bytesOf(QWidget* control) {
    if (auto* edit = qobject_cast<QLineEdit*>(control)) return edit->text().toUtf8();
    if (auto* combo = qobject_cast<QComboBox*>(control)) return combo->currentText().toUtf8();
    if (auto* pane = qobject_cast<QPlainTextEdit*>(control))
        return pane->property(kLogBytesProperty).toByteArray();
    return {};
}

QComboBox* comboOf(DialogHandle dialog, int id) {
    return qobject_cast<QComboBox*>(dialogControl(dialog, id));
}

// "*.ssa;*.srt" as Qt patterns that match the extensions in any case, as the
// Windows file dialog does; "*.*" matches every name, with or without a dot.
QString patternsOf(const char* pattern) {
    QStringList patterns;
    for (const QString& part : textOf(pattern).split(u';', Qt::SkipEmptyParts)) {
        if (part == QStringLiteral("*.*")) {
            patterns << QStringLiteral("*");
            continue;
        }
        QString anyCase;
        for (QChar c : part) {
            anyCase +=
                c.isLetter() ? QStringLiteral("[%1%2]").arg(c.toLower(), c.toUpper()) : QString(c);
        }
        patterns << anyCase;
    }
    return patterns.join(u' ');
}

}  // namespace

void dialogSetItemText(DialogHandle dialog, int id, const char* text) {
    QWidget* control = dialogControl(dialog, id);
    if (auto* pane = qobject_cast<QPlainTextEdit*>(control)) {
        pane->setProperty(kLogBytesProperty, QByteArray(text));
        pane->setPlainText(textOf(text));
        // The pane shows its newest lines, as the Windows program's does.
        pane->moveCursor(QTextCursor::End);
        pane->ensureCursorVisible();
    } else if (auto* edit = qobject_cast<QLineEdit*>(control)) {
        const QString next = textOf(text);
        const bool unchanged = edit->text() == next;
        edit->setText(next);  // reports the change through textChanged
        // A Win32 edit reports a change even when the text stays the same.
        if (unchanged) mainDialogCommand(dialog, id);
    } else if (auto* combo = qobject_cast<QComboBox*>(control)) {
        const QSignalBlocker quiet(combo);
        combo->setEditText(textOf(text));
    }
}

unsigned dialogGetItemText(DialogHandle dialog, int id, char* buffer, int count) {
    return copyOut(bytesOf(dialogControl(dialog, id)), buffer, count);
}

void dialogSetItemInt(DialogHandle dialog, int id, unsigned value) {
    dialogSetItemText(dialog, id, QByteArray::number(value).constData());
}

unsigned dialogGetItemInt(DialogHandle dialog, int id) {
    const QByteArray text = bytesOf(dialogControl(dialog, id)).trimmed();
    bool isNumber = false;
    const uint value = text.toUInt(&isNumber, 10);
    return isNumber && !text.startsWith('+') ? value : 0;
}

void dialogCheckButton(DialogHandle dialog, int id, bool checked) {
    if (auto* button = qobject_cast<QAbstractButton*>(dialogControl(dialog, id)))
        button->setChecked(checked);
}

bool dialogIsButtonChecked(DialogHandle dialog, int id) {
    auto* button = qobject_cast<QAbstractButton*>(dialogControl(dialog, id));
    return button != nullptr && button->isChecked();
}

// The program's changes to the list report nothing, as Win32's list messages do not.
void dialogComboReset(DialogHandle dialog, int id) {
    QComboBox* combo = comboOf(dialog, id);
    const QSignalBlocker quiet(combo);
    combo->clear();
    combo->setEditText(QString());
}

void dialogComboAddString(DialogHandle dialog, int id, const char* text) {
    QComboBox* combo = comboOf(dialog, id);
    const QSignalBlocker quiet(combo);
    // Qt selects the first item added to an empty list; Win32 selects nothing.
    const int selected = combo->currentIndex();
    const QString field = combo->currentText();
    combo->addItem(textOf(text));
    combo->setCurrentIndex(selected);
    combo->setEditText(field);
}

void dialogComboSetSelection(DialogHandle dialog, int id, int index) {
    QComboBox* combo = comboOf(dialog, id);
    const QSignalBlocker quiet(combo);
    combo->setCurrentIndex(index);
}

void dialogMessageBox(DialogHandle dialog, const char* text, const char* caption) {
    // A carriage return and line feed pair is one line break, as in a Win32 box.
    const QString shown = textOf(text).replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    QMessageBox box(QMessageBox::NoIcon, textOf(caption), shown, QMessageBox::Ok, windowOf(dialog));
    box.setTextFormat(Qt::PlainText);
    box.setEscapeButton(QMessageBox::Ok);
    box.exec();
}

bool dialogChooseFile(DialogHandle dialog, const FileChooserRequest& request, char* buffer,
                      std::size_t bufferSize) {
    QFileDialog chooser(windowOf(dialog), textOf(request.title));
    // Qt's own dialog everywhere, so that titles, filters and options are the same on every
    // desktop.
    chooser.setOptions(QFileDialog::DontUseNativeDialog | QFileDialog::DontConfirmOverwrite |
                       QFileDialog::HideNameFilterDetails);
    chooser.setAcceptMode(QFileDialog::AcceptOpen);
    chooser.setFileMode(request.mustExist ? QFileDialog::ExistingFile : QFileDialog::AnyFile);
    QStringList filters;
    for (int i = 0; i < request.filterCount; ++i) {
        filters << QStringLiteral("%1 (%2)").arg(textOf(request.filters[i].name),
                                                 patternsOf(request.filters[i].pattern));
    }
    chooser.setNameFilters(filters);
    if (!filters.isEmpty()) chooser.selectNameFilter(filters.front());
    // A name typed without an extension gets the first of the default extensions.
    const QString extensions = textOf(request.defaultExtension);
    chooser.setDefaultSuffix(
        extensions.section(u';', 0, 0).remove(0, extensions.startsWith(u'.') ? 1 : 0));
    if (buffer[0] != '\0') chooser.selectFile(QFile::decodeName(buffer));
    if (chooser.exec() != QDialog::Accepted || chooser.selectedFiles().isEmpty()) return false;
    const QByteArray chosen = QFile::encodeName(chooser.selectedFiles().front());
    // Like a Windows file dialog whose buffer is too small: no path, as a cancel.
    if (static_cast<std::size_t>(chosen.size()) >= bufferSize) return false;
    std::memcpy(buffer, chosen.constData(), static_cast<std::size_t>(chosen.size()) + 1);
    return true;
}

void dialogPostQuit(int code) {
    // Ends the running event loop; outside one (the window destroyed at the
    // program's end, or in a test) there is no loop to end.
    if (QThread::currentThread()->loopLevel() > 0) QCoreApplication::exit(code);
}
