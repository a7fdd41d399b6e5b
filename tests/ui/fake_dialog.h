// An in-memory main dialog for the logic's tests: it implements the platform's
// dialog services with the Win32 behaviours the logic relies on, and records
// what the logic asked of it.
#pragma once

#include <deque>
#include <map>
#include <string>
#include <vector>

#include "platform_dialog.h"

struct FakeFileAnswer {
    bool confirm;
    std::string path;  // the full path the user picks when confirming
};

struct FakeChooserCall {
    std::string title;
    bool mustExist;
    std::string defaultExtension;
    std::vector<std::string> filters;  // "name|pattern" per entry
    std::string pathOnEntry;
};

struct FakeMessageBox {
    std::string text;
    std::string caption;
};

struct FakeDialog {
    std::map<int, std::string> texts;  // edits and the combo's field
    std::map<int, bool> checked;
    std::vector<std::string> comboItems;
    int comboSelection = -1;
    std::deque<FakeFileAnswer> fileAnswers;  // consumed one per file dialog
    std::vector<FakeChooserCall> chooserCalls;
    std::vector<FakeMessageBox> messageBoxes;
    std::vector<int> commands;  // the change reports of the path edits
};

// Quit requests posted by the logic since the counter was last cleared.
extern int fakeQuitPosts;

// The dialog as the logic sees it.
inline DialogHandle handleOf(FakeDialog& dialog) { return &dialog; }

// A user's actions: typing replaces an edit's text and reports the change;
// clicking a check box toggles it and reports the click; choosing from the
// list puts the item into the field and reports the selection.
void typeInto(FakeDialog& dialog, int id, const std::string& text);
void clickCheckBox(FakeDialog& dialog, int id);
void chooseFromList(FakeDialog& dialog, int index);
void press(FakeDialog& dialog, int id);
