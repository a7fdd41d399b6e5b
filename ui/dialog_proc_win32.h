// The Win32 procedure of the main dialog (template 107).
#pragma once

#include <windows.h>

constexpr int kMainDialogTemplate = 107;

INT_PTR CALLBACK mainDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
