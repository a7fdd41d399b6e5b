// The three dialog services the log pane's sink calls, for the log harness,
// which exercises only the capacity rule and links the pane without a dialog.
#include "platform_dialog.h"

void dialogSetItemText(DialogHandle, int, const char*) {}
unsigned dialogGetItemText(DialogHandle, int, char* buffer, int count) {
    if (count > 0) buffer[0] = '\0';
    return 0;
}
void dialogMessageBox(DialogHandle, const char*, const char*) {}
