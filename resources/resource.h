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
#define IDC_PREVIEW 1190
#define IDC_SEARCH_OPTIONS 1058
#define IDC_MASKS_LABEL 1059
#define IDC_TEXT_OPTIONS 1060
#define IDC_ACTION_LABEL 1061
#define IDC_USE_REGEX 1066
#define IDC_USE_VARIABLES 1067
#define IDC_RESULTS_LABEL 1068
// The drop-down buttons of the fields' recent entries
#define IDC_FIND_HISTORY 1140
#define IDC_REPLACE_HISTORY 1141
#define IDC_MASK_HISTORY 1142

// About dialog controls
#define IDC_ABOUT_VERSION 1048
#define IDC_ABOUT_MAKER 1049
#define IDC_ABOUT_LINK 1050

// Confirmation dialog controls
#define IDC_CONFIRM_NO_TO_ALL 1026
#define IDC_CONFIRM_NO 1044
#define IDC_CONFIRM_YES_TO_ALL 1045
#define IDC_CONFIRM_YES 1046
#define IDC_CONFIRM_MESSAGE 1047
#define IDC_CONFIRM_CHANGE 1180

// Select Items dialog controls
#define IDC_SELECT_ALL 1026
#define IDC_ITEM_LIST 1028

// Settings dialog and its pages
#define IDC_SETTINGS_TABS 1012
#define IDC_SETTINGS_HELP 1013
#define IDC_OUTPUT_CODE_PAGE 1015
#define IDC_NEWLINE_CRLF 1016
#define IDC_NEWLINE_LF 1017
#define IDC_NEWLINE_CR 1018
#define IDC_NEWLINE_AS_IN_FILE 1019
#define IDC_SAVE_ERROR_LOG 1021
#define IDC_SEARCH_HIDDEN 1029
#define IDC_REPLACE_READ_ONLY 1030
#define IDC_KEEP_FILE_DATE 1031
#define IDC_TRIM_NEW_LINES 1032
#define IDC_MAX_FILES 1033
#define IDC_LOG_DIRECTORY 1034
#define IDC_LOG_TYPE 1035
#define IDC_MAX_FILES_LABEL 1036
#define IDC_LOG_TYPE_LABEL 1037
#define IDC_MAX_FILES_SPIN 1038
#define IDC_CODE_PAGE_GROUP 1039
#define IDC_INPUT_LABEL 1040
#define IDC_OUTPUT_LABEL 1041
#define IDC_INPUT_CODE_PAGE 1042
#define IDC_SAME_AS_INPUT 1054
#define IDC_RESET_ALL 1055
#define IDC_BROWSE_LOG 1056
#define IDC_BROWSE_BACKUP 1063
#define IDC_BACKUP_DIRECTORY 1064
#define IDC_MAKE_BACKUP 1065
#define IDC_SEARCH_ONLINE_ONLY 1070
#define IDC_EDITOR_GROUP 1143
#define IDC_EDITOR_COMMAND 1144
#define IDC_EDITOR_HINT 1145
#define IDC_EXCLUDE_HISTORY 1146

// What a run passes over: the main dialog's Exclude row, and the settings that filter files
#define IDC_EXCLUDE_LABEL 1120
#define IDC_EXCLUDE 1121
#define IDC_EXCLUDE_PRESET 1122
#define IDC_SKIP_BINARY 1123
#define IDC_USE_BYTE_ORDER_MARKS 1124
#define IDC_LIMITS_GROUP 1125
#define IDC_MIN_SIZE_LABEL 1126
#define IDC_MIN_SIZE 1127
#define IDC_MAX_SIZE_LABEL 1128
#define IDC_MAX_SIZE 1129
#define IDC_MODIFIED_AFTER_LABEL 1130
#define IDC_MODIFIED_AFTER 1131
#define IDC_MODIFIED_BEFORE_LABEL 1132
#define IDC_MODIFIED_BEFORE 1133
#define IDC_LIMITS_HINT 1134
#define IDD_SETTINGS_FILTERS 1139

// Menu and accelerator commands
#define ID_FILE_SETTINGS 32771
#define ID_FILE_EXIT 32772
#define ID_ACTION_RUN 32773
#define ID_ACTION_STOP 32774
#define ID_ACTION_CLEAR 32775
#define ID_ACTION_UNDO 32776
#define ID_ACTION_PREVIEW 32900
#define ID_HELP_HELP 32777
#define ID_HELP_ABOUT 32778
#define ID_FILE_OPEN_ERROR_LOG 32788
// Results list commands
#define ID_RESULTS_COPY_PATH 32810
#define ID_RESULTS_COPY_NAME 32811
#define ID_RESULTS_EXPORT 32812
// Opens the file of the details field's line at that line
#define ID_DETAILS_OPEN_LINE 32813
// The first command of a field's list of recent entries; entry i is this + i
#define ID_HISTORY_FIRST 32814
// The standard help command of dialog frameworks; the main dialog ignores it.
#define ID_HELP_STANDARD 57670

#ifndef IDC_STATIC
#define IDC_STATIC (-1)
#endif
