// The main dialog's layout, once: its size, caption and font, and its controls
// in template order, which is also the tab order. The Qt window is built from
// it; marliva.rc holds the same template for the resource compiler, and the
// Win32 tests check that the two agree.
#pragma once

#include "resource.h"
#include "version.h"

enum class ControlKind { PathEdit, NumberBox, PushButton, CheckBox, Combo, Label, LogPane };

// A rectangle in dialog units.
struct DialogUnits {
    int x, y, width, height;
};

struct ControlLayout {
    int id;  // IDC_STATIC for the labels
    ControlKind kind;
    const char* text;
    DialogUnits units;  // a combo box's height includes its dropped list
};

inline constexpr DialogUnits kMainDialogUnits{0, 0, 232, 133};
inline constexpr char kMainDialogCaption[] =
    "Marliva " MARLIVA_VERSION " by the Marliva developers";
inline constexpr char kMainDialogFont[] = "MS Sans Serif";
inline constexpr int kMainDialogFontPoints = 8;

inline constexpr ControlLayout kMainDialogControls[] = {
    {IDC_INPUT_PATH, ControlKind::PathEdit, "", {68, 10, 154, 12}},
    {IDC_CONVERT, ControlKind::PushButton, "Convert", {9, 25, 49, 19}},
    {IDC_OPEN, ControlKind::PushButton, "Open", {9, 6, 49, 19}},
    {IDC_OUTPUT_PATH, ControlKind::PathEdit, "", {68, 28, 154, 12}},
    {IDC_FRAME_RATE, ControlKind::Combo, "", {51, 94, 48, 55}},
    {IDC_STATIC, ControlKind::Label, "frame rate", {13, 95, 32, 8}},
    {IDC_LOG, ControlKind::LogPane, "", {110, 63, 112, 45}},
    {IDC_STATIC, ControlKind::Label, "supports srt=>ssa, srt=>srt and ssa=>srt", {70, 48, 124, 8}},
    {IDC_JOIN_WITH_NEWLINE, ControlKind::CheckBox, "srt=>ssa newline use \\n", {13, 78, 88, 8}},
    {IDC_FIRST_SUB_HOURS, ControlKind::NumberBox, "", {89, 113, 14, 12}},
    {IDC_FIRST_SUB_MINUTES, ControlKind::NumberBox, "", {114, 113, 14, 12}},
    {IDC_FIRST_SUB_SECONDS, ControlKind::NumberBox, "", {138, 113, 14, 12}},
    {IDC_FIRST_SUB_MILLIS, ControlKind::NumberBox, "", {162, 113, 18, 12}},
    {IDC_STATIC, ControlKind::Label, ":", {106, 114, 8, 8}},
    {IDC_STATIC, ControlKind::Label, ":", {130, 114, 8, 8}},
    {IDC_STATIC, ControlKind::Label, ".", {154, 114, 8, 8}},
    {IDC_CONVERT_AS, ControlKind::PushButton, "Convert as", {9, 44, 49, 19}},
    {IDC_SHIFT_FIRST_SUB, ControlKind::CheckBox, "first sub (h:m:s.ms)", {13, 114, 73, 10}},
    {IDC_TRANSLATE_TAGS, ControlKind::CheckBox, "translate tags", {13, 66, 88, 8}},
};
