// Identifiers of the program's resources and of the main dialog's controls, for
// the resource script (marliva.rc) and the code alike.
#pragma once

#define IDI_MARLIVA 103
#define IDD_MAIN 107

#define IDC_STATIC (-1)
#define IDC_INPUT_PATH 1016
#define IDC_CONVERT 1017
#define IDC_OPEN 1018
#define IDC_OUTPUT_PATH 1019
#define IDC_CONVERT_AS 1020
#define IDC_FRAME_RATE 1021
#define IDC_FIRST_SUB_HOURS 1022
#define IDC_LOG 1023
#define IDC_FIRST_SUB_MINUTES 1025
#define IDC_FIRST_SUB_SECONDS 1026
#define IDC_FIRST_SUB_MILLIS 1027
#define IDC_JOIN_WITH_NEWLINE 1029
#define IDC_SHIFT_FIRST_SUB 1031
#define IDC_TRANSLATE_TAGS 1035
