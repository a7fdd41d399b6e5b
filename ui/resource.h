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

// The timing dialog, which the main dialog's Timing... button opens; its OK
// and Cancel are the system's IDOK (1) and IDCANCEL (2).
#define IDD_TIMING 108
#define IDC_TIMING 1032
#define IDC_RETIME 1040
#define IDC_RETIME_FROM 1041
#define IDC_RETIME_TO 1042
#define IDC_SHIFT 1043
#define IDC_SHIFT_SIGN 1044
#define IDC_SHIFT_HOURS 1045
#define IDC_SHIFT_MINUTES 1046
#define IDC_SHIFT_SECONDS 1047
#define IDC_SHIFT_MILLIS 1048
#define IDC_SHIFT_FROM 1049
#define IDC_SHIFT_UNTIL 1050
#define IDC_SYNC 1051
#define IDC_SYNC_A 1052
#define IDC_SYNC_B 1053
#define IDC_SYNC_C 1054
#define IDC_SYNC_D 1055
#define IDC_TIMING_OK 1
#define IDC_TIMING_CANCEL 2
