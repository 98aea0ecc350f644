// Resource and control identifiers; numbers are fixed by the dialogs and the routing.
#pragma once

// Dialog templates and the icon group.
#define IDD_MAIN 101
#define IDD_CHOICE 102
#define IDI_MAIN 103

// IDD_MAIN controls.
#define IDC_SETTING_LIST 1001
#define IDC_NEW_LIST 1002
#define IDC_NEW_ENTRY 1003
#define IDC_EDIT_ENTRY 1004
#define IDC_DUPLICATE 1005
#define IDC_MOVE_UP 1006
#define IDC_MOVE_DOWN 1007
#define IDC_NAME 1008
#define IDC_PATH 1009
#define IDC_BROWSE_PATH 1010
#define IDC_OPTIONS 1011
#define IDC_BROWSE_OPTIONS 1012
#define IDC_WINDOW_STATE 1013
#define IDC_ENABLED 1014
#define IDC_LAUNCH_ONE 1015
#define IDC_CANCEL_EDIT 1016
#define IDC_DELETE 1017
#define IDC_LOAD_LIST 1018
#define IDC_SAVE_LIST 1019
#define IDC_BATCH 1020
#define IDC_ABOUT 1021
#define IDC_EXIT 1022

// IDD_CHOICE controls.
#define IDC_CHOICE_FIRST 1101
#define IDC_CHOICE_SECOND 1102
