// Resource ids of Quillet.exe, shared by the resource script and the code.
#pragma once

// Main window: dialog template, window icon and accelerator table share 128.
#define IDD_QUILLET_DIALOG          128
#define IDR_MAINFRAME               128

// Bitmaps.
#define IDR_MENU_TOOLBAR            130   // menu toolbar (Options, Help)
#define IDR_FILE_TOOLBAR            134   // file toolbar, 20 x 20 images
#define IDB_FORMAT_ICONS            136   // format box items, 16 x 16
#define IDB_SORT_ARROWS             137   // header arrows, 9 x 5: ascending, descending
#define IDB_STATE_ICONS             138   // row states: converting, OK, failed
#define IDB_FILE_TOOLBAR32          140   // file toolbar images in 32-bit colour

#define IDR_POPUP_MENUS             200   // popups: 0 Options, 1 Help, 2 file list
#define IDC_HAND_CURSOR             800

// Controls of the main window.
#define IDC_FILE_LIST               1000
#define IDC_FORMAT_COMBO            1001
#define IDC_AUTO_CLOSE              1003
#define IDC_ALWAYS_ON_TOP           1004
#define IDC_CONVERT                 1007
#define IDC_STOP                    1008
#define IDC_FORMAT_LABEL            1017
#define IDC_MENU_TOOLBAR            59392
#define IDC_FILE_TOOLBAR            59393

// Commands.
#define ID_OPTIONS_MENU             32771
#define ID_HELP_MENU                32772
#define ID_ADD_FILES                32773
#define ID_REMOVE                   32774
#define ID_REMOVE_ALL               32775
#define ID_ADD_FOLDER               32776
#define ID_SETTINGS                 32777
#define ID_KEEP_TIMESTAMPS          32778
#define ID_KEEP_ATTRIBUTES          32779
#define ID_CONVERT_READONLY         32780
#define ID_BACKUP_ORIGINAL          32781
#define ID_PRESET_FILTERS           32782
#define ID_OPEN_FOLDER              32783
#define ID_EMAIL_US                 32814
#define ID_WEB_SITE                 32815
#define ID_CHECK_UPDATES            32834
#define ID_OPEN_FILE                57601
#define ID_APP_ABOUT                57664

// Strings.
#define IDS_APP_TITLE               57344

// Preset filters, Settings and About dialogs.
#define IDD_ABOUTBOX                100
#define IDD_SETTINGS                529
#define IDD_PRESET_FILTERS          530
#define IDD_FILTER                  531
#define IDC_PRESET_LIST             1000
#define IDC_ABOUT_PRODUCT           1005
#define IDC_WEB_SITE_LINK           1006
#define IDC_EMAIL_LINK              1009
#define IDC_DEFAULT_FILTER          1013
#define IDC_FILE_VIEWER             1014
#define IDC_BROWSE_VIEWER           1015
#define IDC_SHELL_EXTENSION         1016
#define IDC_ADD_PRESET              1021
#define IDC_EDIT_PRESET             1022
#define IDC_PRESET_FILTER           1023
#define IDC_DELETE_PRESET           1024
#define IDC_LOAD_DEFAULTS           1026
#define IDC_PRESET_NAME             1029
#define IDC_ABOUT_VERSION           1053
#define IDC_ABOUT_DESCRIPTION       1062
#define IDC_ABOUT_NOTICE            1104

// Folder selection: the Select Folder and Add Folders dialogs, the hourglass
// of the folder tree.
#define IDC_HOURGLASS_CURSOR        131   // animated, ten frames
#define IDD_SELECT_FOLDER           204
#define IDD_ADD_FOLDERS             533
#define IDC_FOLDER_PROMPT           1005
#define IDC_FOLDER_TREE             1020
#define IDC_FOLDER_FILTER_COMBO     1023
#define IDC_FOLDER_LIST             1036
#define IDC_FOLDER_SCAN_SUBFOLDERS  1038
#define IDC_FOLDER_FILTER_LABEL     1041
#define IDC_SIZE_GRIP               59648
