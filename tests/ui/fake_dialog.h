// An in-memory main dialog for the logic's tests: it implements the platform's
// dialog services with the Win32 behaviours the logic relies on, records what
// the logic asked of it, and plays the user.
#pragma once

#include <deque>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "main_dialog.h"
#include "timing_dialog.h"

struct FakeChooserCall {
    std::string title;
    bool mustExist;
    std::string firstFilter;  // the patterns of the filter selected first
    std::string pathOnEntry;
};

struct FakeMessageBox {
    std::string text;
    std::string caption;
};

// The double's window owns its dialog object, as the Qt window does, and
// hands the user's actions to the logic.
struct DialogWindow {
    DialogWindow() { mainDialog.handle = this; }
    DialogWindow(const DialogWindow&) = delete;
    DialogWindow& operator=(const DialogWindow&) = delete;

    MainDialog mainDialog;
    std::map<int, std::string> texts;  // edits and the combo's field
    std::map<int, bool> checked;
    std::map<int, std::vector<std::string>> comboItems;  // by the combo's identifier
    std::map<int, int> comboSelection;
    std::deque<std::string> fileAnswers;  // one per file dialog: the path picked, "" to cancel
    std::vector<FakeChooserCall> chooserCalls;
    std::vector<FakeMessageBox> messageBoxes;
    int quitPosts = 0;
    // A timing dialog: its dialog object, and whether it has ended.
    TimingDialog* timing = nullptr;
    bool ended = false;
    // The user of each timing dialog opened over this one, who plays it; one
    // who leaves it open closes it, which cancels.
    std::function<void(DialogWindow&)> timingUser;
    int timingDialogsOpened = 0;
};
using FakeDialog = DialogWindow;

// The user: typing replaces an edit's text and reports the change; clicking a
// check box toggles it and reports the click; picking from the list puts the
// item into the field and reports the selection; pressing sends a command.
inline void press(FakeDialog& dialog, int id) {
    if (dialog.timing) timingDialogCommand(*dialog.timing, id);
    else mainDialogCommand(dialog.mainDialog, id);
}
inline void typeInto(FakeDialog& dialog, int id, const std::string& text) {
    dialog.texts[id] = text;
    press(dialog, id);
}
inline void clickCheckBox(FakeDialog& dialog, int id) {
    dialog.checked[id] = !dialog.checked[id];
    press(dialog, id);
}
inline void chooseFromList(FakeDialog& dialog, int index, int id = IDC_FRAME_RATE) {
    dialog.comboSelection[id] = index;
    typeInto(dialog, id, dialog.comboItems.at(id).at(static_cast<std::size_t>(index)));
}
