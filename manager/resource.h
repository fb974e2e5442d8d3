// Resource ids of vantor.exe, shared by the resource script and the code. Only #define lines, so
// that the resource compiler reads it as well.
#ifndef VN_MANAGER_RESOURCE_H
#define VN_MANAGER_RESOURCE_H

// The configuration window and its controls.
#define IDD_MAIN 102
#define IDC_SHEET_FRAME 1000 // hidden frame whose rectangle the configuration pages take
#define IDC_CLOSE_VANTOR 1012
#define IDC_APPLY 1027
#define IDC_MAKER_LINK 1059
#define IDC_TITLE_LINE 1060
#define IDC_BITNESS_NOTE 1061 // why 32-bit applications are not extended, when they are not
#define IDC_HELP_BUTTON 57670

// Icons: 128 is the window's large icon, the other four are the tray's four states.
#define IDI_MAIN 128
#define IDI_TRAY_ENABLED 129
#define IDI_TRAY_DISABLED 553
#define IDI_TRAY_COMMON_OFF 554
#define IDI_TRAY_TRAINED_OFF 555
#define IDC_HAND_CURSOR 556

// The tray menu; its first popup is the menu shown.
#define IDR_TRAY_MENU 131
#define ID_TRAY_CLOSE 130
#define ID_TRAY_CONFIGURATION 32771
#define ID_TRAY_TEST1 32772 // test items, removed before the menu is shown
#define ID_TRAY_TEST2 32773
#define ID_TRAY_ENABLE_COMMON 32774
#define ID_TRAY_HIDE_ICON 32775
#define ID_TRAY_ENABLE_TRAINED 32776
#define ID_TRAY_TRAIN_NEW 32777
#define ID_TRAY_HELP_CONTENTS 32779
#define ID_TRAY_HELP_INTRODUCTION 32780
#define ID_TRAY_WEB_SITE 32781
#define ID_TRAY_FEEDBACK 32782

// Strings.
#define IDS_PRODUCT 67
#define IDS_CLOSE_REFUSED 546
#define IDS_CANCEL_CONFIRM 551
#define IDS_QUIT_CONFIRM 547
#define IDS_NOT_INSTALLED 558
#define IDS_TIP_ENABLED 563
#define IDS_TIP_DISABLED 564
#define IDS_TIP_COMMON_OFF 565
#define IDS_TIP_TRAINED_OFF 566
#define IDS_HELP_MISSING 900 // %u: topic, %s: help folder
#define IDS_USAGE 901
#define IDS_INSTALL_FAILED 902 // %s: what failed
#define IDS_NUMBER_RANGE 903   // %u: lowest, %s: highest value of a number field
#define IDS_SAVE_FAILED 904    // %s: the settings file
#define IDS_COMPANION_MISSING 906
#define IDS_COMPANION_CANNOT_START 907 // %u: the system's error code
#define IDS_COMPANION_KEEPS_ENDING 908 // %u: its exit status

// The trained-application editor: dialog 550 edits one trained entry, dialog 551 one of its
// file types (both Help buttons are IDHELP). Ids of the two dialogs overlap; each is unique
// within its own template.
#define IDD_TRAINED_APP 550
#define IDC_TA_APP_NAME 100
#define IDC_TA_MODULE 101
#define IDC_TA_ORIGINAL_TITLE 102
#define IDC_TA_OPEN 103
#define IDC_TA_SAVE 104
#define IDC_TA_ADD_BUTTON 106
#define IDC_TA_REPLACE 107
#define IDC_TA_DEFAULT_EXT 108
#define IDC_TA_TYPES 110
#define IDC_TA_ADD_TYPE 111
#define IDC_TA_EDIT_TYPE 112
#define IDC_TA_DELETE_TYPE 113
#define IDC_TA_AUTO_OPEN 114
#define IDC_TA_INSERT_TYPE 115
#define IDC_TA_HIDE_ORIGINAL 116
#define IDC_TA_LONG_NAMES 117
#define IDC_TA_USE 1017
#define IDC_TA_MATCH_TITLE 1020
#define IDC_TA_FINAL_TITLE 1021
#define IDC_TA_OFFSET_X 1022 // the offsets and their labels are 1022 to 1025
#define IDC_TA_OFFSET_X_LABEL 1023
#define IDC_TA_OFFSET_Y 1024
#define IDC_TA_OFFSET_Y_LABEL 1025
#define IDC_TA_MATCH_PARTIAL 1026
#define IDC_TA_MOVE_UP 1029
#define IDC_TA_MOVE_DOWN 1030
#define IDC_TA_FOLDER 1046
#define IDD_FILE_TYPE 551
#define IDC_FT_DESCRIPTION 100
#define IDC_FT_MASKS 101
// Its strings.
#define IDS_DELETE_ENTRY_CONFIRM 548
#define IDS_DELETE_ENTRY_TITLE 549
#define IDS_CANCEL_CHANGES 551
#define IDS_TYPES_FULL 554
#define IDS_ERROR_TITLE 555
#define IDS_DELETE_TYPE_CONFIRM 556
#define IDS_IMPORT_FORMAT 557
#define IDS_IMPORT_TITLE 561
#define IDS_IMPORT_FILTER 562
#define IDS_ENTER_INTEGER 905

#endif
