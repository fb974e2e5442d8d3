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

#endif
