// Resource and command identifiers shared by the .rc scripts and the Win32 code.
// Values are fixed: menus, dialogs and the launch are bound to them.
#pragma once

// Application shell
#define IDD_ABOUTBOX 100
#define IDS_ABOUTBOX 101
#define IDD_PORTMAVEN_DIALOG 102
#define IDR_MAINFRAME 128
#define IDM_ABOUTBOX 0x0010

// Tray menu templates and their items
#define IDR_TRAY_MENU 130
#define IDR_COMMAND_MENU 131
#define ID_MENU_PLACEHOLDER 32783
#define ID_MENU_DEVICE_MANAGER 32772
#define ID_MENU_PROPERTIES 32773
#define ID_MENU_ABOUT 32774
#define ID_MENU_EXIT 32775
#define ID_MENU_CONNECT 32785
#define ID_NO_SERIAL_PORTS 100

// Menu item bitmaps. The base id names a picture and holds it at 16 pixels; the same picture at
// 20, 24 and 32 pixels is at the base id plus 1000, 2000 and 3000.
#define IDB_ABOUT 148
#define IDB_EXIT 149
#define IDB_DEVICE_MANAGER 154
#define IDB_PROPERTIES 157
#define IDB_PORT 159
#define IDB_COMMAND 161
#define IDB_ABOUT_20 1148
#define IDB_EXIT_20 1149
#define IDB_DEVICE_MANAGER_20 1154
#define IDB_PROPERTIES_20 1157
#define IDB_PORT_20 1159
#define IDB_COMMAND_20 1161
#define IDB_ABOUT_24 2148
#define IDB_EXIT_24 2149
#define IDB_DEVICE_MANAGER_24 2154
#define IDB_PROPERTIES_24 2157
#define IDB_PORT_24 2159
#define IDB_COMMAND_24 2161
#define IDB_ABOUT_32 3148
#define IDB_EXIT_32 3149
#define IDB_DEVICE_MANAGER_32 3154
#define IDB_PROPERTIES_32 3157
#define IDB_PORT_32 3159
#define IDB_COMMAND_32 3161

// Configure dialog
#define IDD_CONFIGURE 132
#define IDC_EDIT_NAME 1000
#define IDC_COMMAND_LIST 1002
#define IDC_EDIT_COMMAND 1003
#define IDC_BUTTON_ADD 1004
#define IDC_BUTTON_EDIT 1005
#define IDC_BUTTON_DELETE 1006
#define IDC_BUTTON_CANCEL_EDIT 1007
#define IDC_CHECK_LAUNCH_ON_STARTUP 1009
#define IDC_CHECK_NOTIFY_PORT_CHANGES 1011

// About box
#define IDC_HOMEPAGE_LINK 1010
#define IDC_LINK_CURSOR 162

// Port Settings dialog
#define IDD_PORT_SETTINGS 170
#define IDC_PORT_NAME 1020
#define IDC_PORT_HEADING 1021
#define IDC_PORT_SPEED 1022
#define IDC_PORT_SPEED_PROBLEM 1023
#define IDC_PORT_COMMAND 1024
#define IDC_PORT_RUN_ON_ARRIVAL 1025
#define IDC_PORT_FOR_KIND 1026

// Application manifest (RT_MANIFEST, CREATEPROCESS_MANIFEST_RESOURCE_ID)
#define IDR_APP_MANIFEST 1
