// The main dialog's Qt window: the dialog object it owns, the controls of the
// layout table at their rectangles, Win32's dialog behaviours, and the
// notifications handed to the logic.
#include "qt_window.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDropEvent>
#include <QEventLoop>
#include <QKeyEvent>
#include <QFile>
#include <QFontMetrics>
#include <QLabel>
#include <QLineEdit>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QStyle>
#include <QUrl>
#include <QWindow>

#include <algorithm>
#include <limits>
#include <memory>

#include "dialog_layout.h"

namespace {

// A drop-down combo box is as tall as Windows makes it for its font: 13 dialog
// units; the rest of its template height is the dropped list.
constexpr int kComboFieldHeightUnits = 13;
// The text that a stop-at-the-edge edit showed before the last keystroke.
constexpr char kAcceptedTextProperty[] = "marlivaAcceptedText";

int mulDivRounded(int value, int numerator, int denominator) {
    return (value * numerator * 2 + denominator) / (denominator * 2);
}

// The first file of a drag, when it is a local one; empty otherwise.
QString firstDraggedFile(const QMimeData* data) {
    const QList<QUrl> urls = data != nullptr ? data->urls() : QList<QUrl>();
    return !urls.isEmpty() && urls.front().isLocalFile() ? urls.front().toLocalFile() : QString();
}

// The pixels left for text inside a single-line edit: the style's frame and
// the edit's own margin of 2 pixels on each side, and 1 pixel for the caret.
int textRoomOf(const QLineEdit* edit) {
    const int frame = edit->hasFrame()
                          ? edit->style()->pixelMetric(QStyle::PM_DefaultFrameWidth, nullptr, edit)
                          : 0;
    const QMargins margins = edit->textMargins();
    return edit->width() - 2 * frame - 4 - margins.left() - margins.right() - 1;
}

bool allDigits(const QString& text) {
    for (QChar c : text) {
        if (c < u'0' || c > u'9') return false;
    }
    return true;
}

// An edit that does not scroll: a keystroke or paste whose text would pass the
// right edge is undone, and so is a non-digit in a number box. The program's own
// setting of the text is not limited.
void keepTypingInside(QLineEdit* edit, bool digitsOnly) {
    edit->setProperty(kAcceptedTextProperty, edit->text());
    QObject::connect(edit, &QLineEdit::textChanged, edit,
                     [edit] { edit->setProperty(kAcceptedTextProperty, edit->text()); });
    QObject::connect(edit, &QLineEdit::textEdited, edit, [edit, digitsOnly](const QString& text) {
        const bool fits = edit->fontMetrics().horizontalAdvance(text) <= textRoomOf(edit);
        if (fits && (!digitsOnly || allDigits(text))) return;
        const QString accepted = edit->property(kAcceptedTextProperty).toString();
        const int cursor = edit->cursorPosition() - static_cast<int>(text.size() - accepted.size());
        edit->setText(accepted);
        edit->setCursorPosition(std::clamp(cursor, 0, static_cast<int>(accepted.size())));
    });
}

QWidget* makeLineEdit(DialogWindow* window, const ControlLayout& entry) {
    auto* edit = new QLineEdit(window);
    if (entry.kind == ControlKind::NumberBox) keepTypingInside(edit, true);
    // A path is never cut: the edit takes any length the program sets.
    if (entry.kind == ControlKind::PathEdit) edit->setMaxLength(std::numeric_limits<int>::max());
    QObject::connect(edit, &QLineEdit::textChanged, window,
                     [window, id = entry.id] { reportCommand(window, id); });
    return edit;
}

QWidget* makeCombo(DialogWindow* window, const ControlLayout& entry, int listHeight) {
    auto* combo = new QComboBox(window);
    combo->setEditable(true);
    combo->setInsertPolicy(QComboBox::NoInsert);  // Enter adds nothing to the list
    combo->setCompleter(nullptr);                 // typing completes nothing
    combo->setMaxVisibleItems(std::max(1, listHeight / QFontMetrics(window->font()).height()));
    keepTypingInside(combo->lineEdit(), false);
    auto notify = [window, id = entry.id] { reportCommand(window, id); };
    QObject::connect(combo, &QComboBox::editTextChanged, window, notify);
    QObject::connect(combo, &QComboBox::currentIndexChanged, window, notify);
    QObject::connect(combo, &QComboBox::activated, window, notify);
    return combo;
}

QWidget* makeLogPane(DialogWindow* window, const ControlLayout& entry) {
    auto* pane = new QPlainTextEdit(window);
    pane->setReadOnly(true);
    pane->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    pane->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    pane->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    pane->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    pane->setTabChangesFocus(true);
    QObject::connect(pane, &QPlainTextEdit::textChanged, window,
                     [window, id = entry.id] { reportCommand(window, id); });
    return pane;
}

QWidget* makeButton(DialogWindow* window, const ControlLayout& entry) {
    QAbstractButton* button = nullptr;
    if (entry.kind == ControlKind::CheckBox) {
        button = new QCheckBox(QString::fromUtf8(entry.text), window);
    } else {
        auto* push = new QPushButton(QString::fromUtf8(entry.text), window);
        // Enter presses the push button that has the focus, as in a Win32
        // dialog; no button is the default one.
        push->setAutoDefault(true);
        push->setDefault(false);
        button = push;
    }
    // A check box toggles itself before it reports the click.
    QObject::connect(button, &QAbstractButton::clicked, window,
                     [window, id = entry.id] { reportCommand(window, id); });
    return button;
}

QWidget* makeControl(DialogWindow* window, const ControlLayout& entry, QSize baseUnits) {
    QRect rect = dialogUnitsToPixels(entry.units, baseUnits);
    QWidget* control = nullptr;
    switch (entry.kind) {
    case ControlKind::PathEdit:
    case ControlKind::TextEdit:
    case ControlKind::NumberBox: control = makeLineEdit(window, entry); break;
    case ControlKind::Combo: {
        const int fieldHeight = mulDivRounded(kComboFieldHeightUnits, baseUnits.height(), 8);
        control = makeCombo(window, entry, rect.height() - fieldHeight);
        rect.setHeight(fieldHeight);
        break;
    }
    case ControlKind::LogPane: control = makeLogPane(window, entry); break;
    case ControlKind::PushButton:
    case ControlKind::CheckBox: control = makeButton(window, entry); break;
    case ControlKind::Label: {
        auto* label = new QLabel(QString::fromUtf8(entry.text), window);
        label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
        label->setTextFormat(Qt::PlainText);
        control = label;
        break;
    }
    }
    if (entry.id != IDC_STATIC) {
        control->setObjectName(QString::number(entry.id));
        control->setFocusPolicy(Qt::StrongFocus);  // every control but the labels is a tab stop
    }
    // A text that this font sets wider than "MS Sans Serif" would gets the room
    // to the right of its rectangle, which the template leaves free.
    if (entry.kind == ControlKind::Label) {
        rect.setWidth(std::max(
            rect.width(), control->fontMetrics().horizontalAdvance(QString::fromUtf8(entry.text))));
    } else if (entry.kind == ControlKind::CheckBox) {
        rect.setWidth(std::max(rect.width(), control->sizeHint().width()));
    }
    control->setGeometry(rect);
    return control;
}

// The identifier of the control that `widget` belongs to (the combo's field is
// the combo's), or IDC_STATIC when it is not a control of `window`.
int controlIdOf(QWidget* window, QWidget* widget) {
    for (QWidget* at = widget; at != nullptr && at != window; at = at->parentWidget()) {
        bool isNumber = false;
        const int id = at->objectName().toInt(&isNumber);
        if (isNumber && at->parentWidget() == window) return id;
    }
    return IDC_STATIC;
}

// Edits and the combo box report gaining and losing the focus; push buttons
// and check boxes do not.
void reportFocusChanges(DialogWindow* window) {
    auto reportsFocus = [window](QWidget* widget) {
        const int id = controlIdOf(window, widget);
        const bool isButton = qobject_cast<QAbstractButton*>(dialogControl(window, id)) != nullptr;
        return isButton ? IDC_STATIC : id;
    };
    QObject::connect(qApp, &QApplication::focusChanged, window,
                     [window, reportsFocus](QWidget* old, QWidget* now) {
                         for (QWidget* widget : {old, now}) {
                             const int id = reportsFocus(widget);
                             if (id != IDC_STATIC) reportCommand(window, id);
                         }
                     });
}

// The caption bar's close button, the window menu's Close and Alt+F4 hide the
// window; that is the close request the dialog answers by ending the loop.
void reportCloseRequests(DialogWindow* window) {
    window->winId();  // the window's QWindow exists from here on
    QObject::connect(window->windowHandle(), &QWindow::visibleChanged, window,
                     [window](bool visible) {
                         if (visible || !window->open) return;
                         if (window->timing) timingDialogCommand(*window->timing, IDC_TIMING_CANCEL);
                         else mainDialogClose(window->dialog);
                     });
}

// The controls take no drops of their own (an edit would paste the file's
// address), so a drag over any of them reaches the window.
void acceptFileDrops(QWidget* window) {
    for (QWidget* child : window->findChildren<QWidget*>()) child->setAcceptDrops(false);
    window->setAcceptDrops(true);
}

// The dialog font: 8 points of a sans-serif face, sized as Windows sizes an
// 8-point dialog font on a 96 dpi screen (11 pixels).
QFont dialogFont() {
    QFont font(QStringLiteral("Liberation Sans"));
    font.setStyleHint(QFont::SansSerif);
    font.setPixelSize(11);
    return font;
}

}  // namespace

QSize dialogBaseUnits(const QFont& font) {
    const QFontMetrics metrics(font);
    const int letters = metrics.horizontalAdvance(
        QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz"));
    return {(letters / 26 + 1) / 2, metrics.height()};
}

QRect dialogUnitsToPixels(DialogUnits units, QSize baseUnits) {
    return {mulDivRounded(units.x, baseUnits.width(), 4),
            mulDivRounded(units.y, baseUnits.height(), 8),
            mulDivRounded(units.width, baseUnits.width(), 4),
            mulDivRounded(units.height, baseUnits.height(), 8)};
}

DialogWindow::DialogWindow()
    : QWidget(nullptr, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                           Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                           Qt::WindowCloseButtonHint) {
    dialog.handle = this;
}

// The focus moving and the window hiding while the widgets go report nothing;
// the controls go here, while the dialog object is still whole.
DialogWindow::~DialogWindow() {
    open = false;
    QObject::disconnect(qApp, nullptr, this, nullptr);
    if (windowHandle() != nullptr) QObject::disconnect(windowHandle(), nullptr, this, nullptr);
    qDeleteAll(findChildren<QWidget*>(Qt::FindDirectChildrenOnly));
}

void DialogWindow::keyPressEvent(QKeyEvent* event) {
    const int key = event->key();
    if (timing != nullptr && key == Qt::Key_Escape) {
        reportCommand(this, IDC_TIMING_CANCEL);
    } else if (timing != nullptr && (key == Qt::Key_Return || key == Qt::Key_Enter)) {
        reportCommand(this, IDC_TIMING_OK);
    } else {
        QWidget::keyPressEvent(event);
    }
}

void DialogWindow::dragEnterEvent(QDragEnterEvent* event) { dragMoveEvent(event); }

void DialogWindow::dragMoveEvent(QDragMoveEvent* event) {
    if (firstDraggedFile(event->mimeData()).isEmpty()) {
        event->ignore();
    } else {
        event->setDropAction(Qt::CopyAction);
        event->accept();
    }
}

void DialogWindow::dropEvent(QDropEvent* event) {
    const QString file = firstDraggedFile(event->mimeData());
    if (file.isEmpty()) {
        event->ignore();
        return;
    }
    event->setDropAction(Qt::CopyAction);
    event->accept();
    std::string path;
    if (programPathOf(this, utf16Of(file), path)) mainDialogDropFile(dialog, path);
}

QWidget* dialogControl(DialogHandle dialog, int id) {
    return dialog->findChild<QWidget*>(QString::number(id), Qt::FindDirectChildrenOnly);
}

void reportCommand(DialogWindow* window, int id) {
    if (!window->open) return;
    if (window->timing) timingDialogCommand(*window->timing, id);
    else mainDialogCommand(window->dialog, id);
}

namespace {

// A fixed-size window with the controls of a layout table, its focus changes
// and its close requests reported.
template <std::size_t N>
DialogWindow* createWindow(int templateId, const char* caption, DialogUnits units, const ControlLayout (&controls)[N]) {
    auto* window = new DialogWindow;
    window->setObjectName(QString::number(templateId));
    window->setWindowTitle(QString::fromUtf8(caption));
    window->setFont(dialogFont());
    const QSize baseUnits = dialogBaseUnits(window->font());
    window->setFixedSize(dialogUnitsToPixels(units, baseUnits).size());
    for (const ControlLayout& entry : controls) makeControl(window, entry, baseUnits);
    reportFocusChanges(window);
    reportCloseRequests(window);
    return window;
}

}  // namespace

DialogWindow* createMainWindow() {
    DialogWindow* window = createWindow(IDD_MAIN, kMainDialogCaption, kMainDialogUnits, kMainDialogControls);
    acceptFileDrops(window);
    mainDialogInit(window->dialog);
    dialogControl(window, kMainDialogControls[0].id)->setFocus(Qt::OtherFocusReason);
    return window;
}

void runTimingDialog(DialogHandle parent, TimingDialog& timing) {
    std::unique_ptr<DialogWindow> window(
        createWindow(IDD_TIMING, kTimingDialogCaption, kTimingDialogUnits, kTimingDialogControls));
    window->setWindowFlag(Qt::WindowMinimizeButtonHint, false);
    window->setWindowModality(Qt::ApplicationModal);
    window->timing = &timing;
    timing.handle = window.get();
    timingDialogInit(timing);
    dialogControl(window.get(), kTimingDialogControls[0].id)->setFocus(Qt::OtherFocusReason);
    window->move(parent->geometry().center() - window->rect().center());
    QEventLoop loop;
    window->modalLoop = &loop;
    window->show();
    loop.exec();
}

void dialogEndModal(DialogHandle dialog) {
    dialog->open = false;  // its hiding reports nothing more
    dialog->hide();
    if (dialog->modalLoop != nullptr) dialog->modalLoop->quit();
}

int runMainDialog() {
    std::unique_ptr<DialogWindow> window(createMainWindow());
    const QRect screen = window->screen()->availableGeometry();
    window->move(screen.center() - window->rect().center());
    window->show();
    QApplication::setQuitOnLastWindowClosed(false);  // the dialog's close request ends the loop
    QApplication::exec();
    return 1;
}
