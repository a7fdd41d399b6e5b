// The in-memory implementation of the platform's dialog services.
#include "fake_dialog.h"

#include <algorithm>
#include <cstring>

#include "main_dialog.h"

namespace {

FakeDialog& fake(DialogHandle dialog) { return *static_cast<FakeDialog*>(dialog); }

// As GetDlgItemInt without a success flag: blanks around an unsigned decimal
// number that fits 32 bits, or 0.
unsigned unsignedValueOf(const std::string& text) {
    std::size_t at = text.find_first_not_of(' ');
    if (at == std::string::npos) return 0;
    unsigned long long value = 0;
    std::size_t digits = 0;
    for (; at < text.size() && text[at] >= '0' && text[at] <= '9'; ++at, ++digits) {
        value = value * 10 + static_cast<unsigned>(text[at] - '0');
        if (value > 0xFFFFFFFFull) return 0;
    }
    if (digits == 0 || text.find_first_not_of(' ', at) != std::string::npos) return 0;
    return static_cast<unsigned>(value);
}

}  // namespace

void dialogSetItemText(DialogHandle dialog, int id, const char* text) {
    fake(dialog).texts[id] = text;  // copied before the report, as WM_SETTEXT does
    if (id == kIdInputPath || id == kIdOutputPath) {
        fake(dialog).commands.push_back(id);
        mainDialogCommand(dialog, id);
    }
}

unsigned dialogGetItemText(DialogHandle dialog, int id, char* buffer, int count) {
    if (count <= 0) return 0;
    const std::string& text = fake(dialog).texts[id];
    std::size_t copied = std::min(text.size(), static_cast<std::size_t>(count) - 1);
    std::memcpy(buffer, text.data(), copied);
    buffer[copied] = '\0';
    return static_cast<unsigned>(copied);
}

void dialogSetItemInt(DialogHandle dialog, int id, unsigned value) {
    fake(dialog).texts[id] = std::to_string(value);
}

unsigned dialogGetItemInt(DialogHandle dialog, int id) {
    return unsignedValueOf(fake(dialog).texts[id]);
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

void dialogComboSetSelection(DialogHandle dialog, int id, int index) {
    FakeDialog& d = fake(dialog);
    if (index < 0 || index >= static_cast<int>(d.comboItems.size())) return;
    d.comboSelection = index;
    d.texts[id] = d.comboItems[static_cast<std::size_t>(index)];  // no report, as CB_SETCURSEL
}

void dialogMessageBox(DialogHandle dialog, const char* text, const char* caption) {
    fake(dialog).messageBoxes.push_back({text, caption});
}

bool dialogChooseFile(DialogHandle dialog, const FileChooserRequest& request, char* buffer,
                      std::size_t bufferSize) {
    FakeDialog& d = fake(dialog);
    FakeChooserCall call{request.title, request.mustExist, request.defaultExtension, {}, buffer};
    for (int i = 0; i < request.filterCount; ++i) {
        call.filters.push_back(std::string(request.filters[i].name) + "|" +
                               request.filters[i].pattern);
    }
    d.chooserCalls.push_back(call);
    if (d.fileAnswers.empty()) return false;
    FakeFileAnswer answer = d.fileAnswers.front();
    d.fileAnswers.pop_front();
    if (!answer.confirm || answer.path.size() + 1 > bufferSize) return false;
    std::memcpy(buffer, answer.path.c_str(), answer.path.size() + 1);
    return true;
}

void dialogPostQuit(int) { ++fakeQuitPosts; }

int fakeQuitPosts = 0;

void typeInto(FakeDialog& dialog, int id, const std::string& text) {
    dialog.texts[id] = text;
    mainDialogCommand(handleOf(dialog), id);
}

void clickCheckBox(FakeDialog& dialog, int id) {
    dialog.checked[id] = !dialog.checked[id];
    mainDialogCommand(handleOf(dialog), id);
}

void chooseFromList(FakeDialog& dialog, int index) {
    dialog.comboSelection = index;
    dialog.texts[kIdFrameRate] = dialog.comboItems.at(static_cast<std::size_t>(index));
    mainDialogCommand(handleOf(dialog), kIdFrameRate);
}

void press(FakeDialog& dialog, int id) { mainDialogCommand(handleOf(dialog), id); }
