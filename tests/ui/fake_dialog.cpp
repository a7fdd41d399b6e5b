// The in-memory implementation of the platform's dialog services.
#include "fake_dialog.h"

#include <algorithm>
#include <charconv>
#include <cstring>

int fakeQuitPosts = 0;

namespace {

FakeDialog& fake(DialogHandle dialog) { return *static_cast<FakeDialog*>(dialog); }

}  // namespace

void dialogSetItemText(DialogHandle dialog, int id, const char* text) {
    fake(dialog).texts[id] = text;  // copied before the report, as WM_SETTEXT does
    if (id == IDC_INPUT_PATH || id == IDC_OUTPUT_PATH) mainDialogCommand(dialog, id);
}

unsigned dialogGetItemText(DialogHandle dialog, int id, char* buffer, int count) {
    const std::string& text = fake(dialog).texts[id];
    const std::size_t copied = std::min(text.size(), static_cast<std::size_t>(count) - 1);
    std::memcpy(buffer, text.data(), copied);
    buffer[copied] = '\0';
    return static_cast<unsigned>(copied);
}

void dialogSetItemInt(DialogHandle dialog, int id, unsigned value) {
    fake(dialog).texts[id] = std::to_string(value);
}

// Digits only, and at most 32 bits, or 0.
unsigned dialogGetItemInt(DialogHandle dialog, int id) {
    const std::string& text = fake(dialog).texts[id];
    unsigned value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    return error == std::errc() && end == text.data() + text.size() ? value : 0;
}

void dialogCheckButton(DialogHandle dialog, int id, bool checked) {
    fake(dialog).checked[id] = checked;
}

bool dialogIsButtonChecked(DialogHandle dialog, int id) { return fake(dialog).checked[id]; }

void dialogComboReset(DialogHandle dialog, int id) {
    fake(dialog).comboItems.clear();
    fake(dialog).comboSelection = -1;
    fake(dialog).texts[id].clear();
}

void dialogComboAddString(DialogHandle dialog, int, const char* text) {
    fake(dialog).comboItems.emplace_back(text);
}

// As CB_SETCURSEL: the field shows the item, and nothing is reported.
void dialogComboSetSelection(DialogHandle dialog, int id, int index) {
    fake(dialog).comboSelection = index;
    fake(dialog).texts[id] = fake(dialog).comboItems.at(static_cast<std::size_t>(index));
}

void dialogMessageBox(DialogHandle dialog, const char* text, const char* caption) {
    fake(dialog).messageBoxes.push_back({text, caption});
}

bool dialogChooseFile(DialogHandle dialog, const FileChooserRequest& request, char* buffer,
                      std::size_t bufferSize) {
    FakeDialog& d = fake(dialog);
    d.chooserCalls.push_back({request.title, request.mustExist, buffer});
    const std::string answer = d.fileAnswers.empty() ? "" : d.fileAnswers.front();
    if (!d.fileAnswers.empty()) d.fileAnswers.pop_front();
    if (answer.empty() || answer.size() >= bufferSize) return false;
    std::memcpy(buffer, answer.c_str(), answer.size() + 1);
    return true;
}

void dialogPostQuit(int) { ++fakeQuitPosts; }
