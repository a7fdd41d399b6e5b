// Drives the real main dialog the way a user's keys and clicks would: window
// messages through the same loop as the modal dialog's, and a timer that reads
// and answers the message boxes and file dialogs that open on top of it.
#pragma once

#include <windows.h>

#include <deque>
#include <string>
#include <vector>

// What a file dialog showed, and a message box's caption and text.
struct SeenFileDialog {
    std::string title;
    std::vector<std::string> filters;  // the names in the type list
    int filterIndex = -1;
    std::string fileName;  // the name box's text when it opened
};

struct SeenMessageBox {
    std::string caption;
    std::string text;
};

// How the user answers the next file dialog: a full path typed into the name
// box and confirmed, or a cancel (empty path).
struct FileDialogAnswer {
    std::string path;
};

struct DialogDriver {
    HWND dialog = nullptr;
    bool quitPosted = false;
    std::deque<FileDialogAnswer> answers;
    std::vector<SeenFileDialog> fileDialogs;
    std::vector<SeenMessageBox> messageBoxes;
};

// Creates the dialog from template 107 with the program's procedure, shown,
// and starts watching for modal windows.
void openDialog(DialogDriver& driver);
void closeDialog(DialogDriver& driver);

// Handles every queued message as the modal dialog's loop does.
void pump(DialogDriver& driver);

HWND itemOf(const DialogDriver& driver, int id);
std::string windowText(HWND window);
std::string itemText(const DialogDriver& driver, int id);

// The user's actions.
void focusOn(DialogDriver& driver, int id);
void typeInto(DialogDriver& driver, int id, const std::string& text);
void pressKey(DialogDriver& driver, UINT virtualKey);
void click(DialogDriver& driver, int id);

// "C:\...\Temp\<name>\", created empty.
std::string scratchFolder(const std::string& name);
void writeFile(const std::string& path, const std::string& bytes);
std::string readFile(const std::string& path);
bool fileExists(const std::string& path);
