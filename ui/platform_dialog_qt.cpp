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

#include <string>
#include <string_view>

#include "platform_dialog.h"
#include "qt_window.h"

// Qt's texts end their lines with a line feed alone.
const char kDialogLineEnd[] = "\n";

namespace {

QString textOf(std::string_view bytes) {
    return QString::fromUtf8(bytes.data(), static_cast<qsizetype>(bytes.size()));
}

QByteArray bytesOf(QWidget* control) {
    if (auto* edit = qobject_cast<QLineEdit*>(control)) return edit->text().toUtf8();
    if (auto* combo = qobject_cast<QComboBox*>(control)) return combo->currentText().toUtf8();
    if (auto* pane = qobject_cast<QPlainTextEdit*>(control)) return pane->toPlainText().toUtf8();
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

void dialogSetItemText(DialogHandle dialog, int id, std::string text) {
    QWidget* control = dialogControl(dialog, id);
    if (auto* pane = qobject_cast<QPlainTextEdit*>(control)) {
        pane->setPlainText(textOf(text));
        // The pane shows its newest lines, as the Windows program's does.
        pane->moveCursor(QTextCursor::End);
        pane->ensureCursorVisible();
    } else if (auto* edit = qobject_cast<QLineEdit*>(control)) {
        const QString next = textOf(text);
        const bool unchanged = edit->text() == next;
        edit->setText(next);  // reports the change through textChanged
        // A Win32 edit reports a change even when the text stays the same.
        if (unchanged) reportCommand(dialog, id);
    } else if (auto* combo = qobject_cast<QComboBox*>(control)) {
        const QSignalBlocker quiet(combo);
        combo->setEditText(textOf(text));
    }
}

std::string dialogGetItemText(DialogHandle dialog, int id) {
    return bytesOf(dialogControl(dialog, id)).toStdString();
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

void dialogMessageBox(DialogHandle dialog, const std::string& text, const char* caption) {
    QMessageBox box(QMessageBox::NoIcon, textOf(caption), textOf(text), QMessageBox::Ok,
                    dialog);
    box.setTextFormat(Qt::PlainText);
    box.setEscapeButton(QMessageBox::Ok);
    box.exec();
}

// Paths of any length pass both ways, as the system's bytes.
bool dialogChooseFile(DialogHandle dialog, const FileChooserRequest& request, std::string& path) {
    QFileDialog chooser(dialog, textOf(request.title));
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
    if (!path.empty()) chooser.selectFile(QFile::decodeName(QByteArray::fromStdString(path)));
    if (chooser.exec() != QDialog::Accepted || chooser.selectedFiles().isEmpty()) return false;
    return programPathOf(dialog, utf16Of(chooser.selectedFiles().front()), path);
}

// The file system's bytes of a name are what QFile makes of it; a lone
// surrogate has none.
bool programPathOf(DialogHandle dialog, std::u16string_view wide, std::string& path) {
    const QStringView text(wide.data(), static_cast<qsizetype>(wide.size()));
    if (text.isValidUtf16()) {
        path = QFile::encodeName(text.toString()).toStdString();
        return true;
    }
    dialogMessageBox(dialog,
                     "The path has characters that this system cannot hold:\n" +
                         text.toString().toStdString(),
                     "Debug Message");
    return false;
}

void dialogPostQuit(DialogHandle) {
    // Ends the running event loop; outside one (the window destroyed at the
    // program's end, or in a test) there is no loop to end.
    if (QThread::currentThread()->loopLevel() > 0) QCoreApplication::exit(0);
}
