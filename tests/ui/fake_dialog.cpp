// The in-memory implementation of the platform's dialog services.
#include "fake_dialog.h"

#include <charconv>

const char kDialogLineEnd[] = "\r\n";

void dialogSetItemText(DialogHandle dialog, int id, std::string text) {
    dialog->texts[id] = std::move(text);  // kept before the report, as WM_SETTEXT does
    if (id == IDC_INPUT_PATH || id == IDC_OUTPUT_PATH) press(*dialog, id);
}

std::string dialogGetItemText(DialogHandle dialog, int id) { return dialog->texts[id]; }

void dialogSetItemInt(DialogHandle dialog, int id, unsigned value) {
    dialog->texts[id] = std::to_string(value);
}

// Digits only, and at most 32 bits, or 0.
unsigned dialogGetItemInt(DialogHandle dialog, int id) {
    const std::string& text = dialog->texts[id];
    unsigned value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    return error == std::errc() && end == text.data() + text.size() ? value : 0;
}

void dialogCheckButton(DialogHandle dialog, int id, bool checked) {
    dialog->checked[id] = checked;
}

bool dialogIsButtonChecked(DialogHandle dialog, int id) { return dialog->checked[id]; }

void dialogComboReset(DialogHandle dialog, int id) {
    dialog->comboItems[id].clear();
    dialog->comboSelection[id] = -1;
    dialog->texts[id].clear();
}

void dialogComboAddString(DialogHandle dialog, int id, const char* text) {
    dialog->comboItems[id].emplace_back(text);
}

// As CB_SETCURSEL: the field shows the item, and nothing is reported.
void dialogComboSetSelection(DialogHandle dialog, int id, int index) {
    dialog->comboSelection[id] = index;
    dialog->texts[id] = dialog->comboItems[id].at(static_cast<std::size_t>(index));
}

void dialogMessageBox(DialogHandle dialog, const std::string& text, const char* caption) {
    dialog->messageBoxes.push_back({text, caption});
}

bool dialogChooseFile(DialogHandle dialog, const FileChooserRequest& request, std::string& path) {
    FakeDialog& d = *dialog;
    d.chooserCalls.push_back({request.title, request.mustExist, request.filters[0].pattern, path});
    const std::string answer = d.fileAnswers.empty() ? "" : d.fileAnswers.front();
    if (!d.fileAnswers.empty()) d.fileAnswers.pop_front();
    if (answer.empty()) return false;
    path = answer;
    return true;
}

void dialogPostQuit(DialogHandle dialog) { ++dialog->quitPosts; }

void dialogEndModal(DialogHandle dialog) { dialog->ended = true; }

void runTimingDialog(DialogHandle parent, TimingDialog& timing) {
    ++parent->timingDialogsOpened;
    FakeDialog window;
    window.timing = &timing;
    timing.handle = &window;
    timingDialogInit(timing);
    if (parent->timingUser) parent->timingUser(window);
    if (!window.ended) timingDialogCommand(timing, IDC_TIMING_CANCEL);
}
