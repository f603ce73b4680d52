// Numeric IDs of the program's resources, controls and commands, shared by the resource script
// and the C++ code. String IDs are generated from strings.txt into string_ids.h.
#pragma once

// Dialog templates
#define IDD_ABOUTBOX 100
#define IDD_VOXA_DIALOG 102
#define IDD_SETTINGS 132
#define IDD_SETTINGS_GENERAL 133
#define IDD_SETTINGS_TEXT 135
#define IDD_SETTINGS_RESULTS 136
#define IDD_SELECT_ITEMS 140
#define IDD_CONFIRM 138
#define IDD_SETTINGS_RESTORE 316

// Icons, bitmaps, menus, accelerators
#define IDR_MAINFRAME 128
#define IDR_MAIN_MENU 129
#define IDR_ACCELERATORS 139
#define IDB_BANNER 295

// System menu command of the About item
#define IDM_ABOUTBOX 0x0010

// Main dialog controls
#define IDC_BROWSE 1002
#define IDC_FIND_TEXT 1005
#define IDC_DETAILS 1006
#define IDC_ACTION 1007
#define IDC_REPLACE_TEXT 1008
#define IDC_RESULTS 1009
#define IDC_INCLUDE_SUBFOLDERS 1011
#define IDC_CASE_SENSITIVE 1012
#define IDC_CONFIRM_REPLACE 1013
#define IDC_RENAME_MODE 1014
#define IDC_MASKS 1020
#define IDC_SELECT_PATHS 1023
#define IDC_SELECT_MASKS 1024
#define IDC_SEARCH_PATH 1025
#define IDC_STATUS_BAR 1043
#define IDC_RUN 1051
#define IDC_STOP 1052
#define IDC_SEARCH_OPTIONS 1058
#define IDC_MASKS_LABEL 1059
#define IDC_TEXT_OPTIONS 1060
#define IDC_ACTION_LABEL 1061
#define IDC_USE_REGEX 1066
#define IDC_USE_VARIABLES 1067
#define IDC_RESULTS_LABEL 1068

// About dialog controls
#define IDC_ABOUT_VERSION 1048
#define IDC_ABOUT_MAKER 1049

// Confirmation dialog controls
#define IDC_CONFIRM_NO_TO_ALL 1026
#define IDC_CONFIRM_NO 1044
#define IDC_CONFIRM_YES_TO_ALL 1045
#define IDC_CONFIRM_YES 1046
#define IDC_CONFIRM_MESSAGE 1047

// Select Items dialog controls
#define IDC_SELECT_ALL 1026
#define IDC_ITEM_LIST 1028

// Menu and accelerator commands
#define ID_FILE_SETTINGS 32771
#define ID_FILE_EXIT 32772
#define ID_ACTION_RUN 32773
#define ID_ACTION_STOP 32774
#define ID_ACTION_CLEAR 32775
#define ID_ACTION_UNDO 32776
#define ID_HELP_HELP 32777
#define ID_HELP_ABOUT 32778
#define ID_FILE_OPEN_ERROR_LOG 32788
// The standard help command of dialog frameworks; the main dialog ignores it.
#define ID_HELP_STANDARD 57670

#ifndef IDC_STATIC
#define IDC_STATIC (-1)
#endif
