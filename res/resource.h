// Resource identifiers of Umbrafen.exe, shared by Umbrafen.rc and the code.
#pragma once

// ---------------------------------------------------------------------------
// Dialog templates
#define IDD_ABOUTBOX 100            // About box
#define IDD_UMBRAFEN_DIALOG 102     // control panel (main dialog)
#define IDD_FULLSCREEN_DIALOG 130   // coloured window, one per monitor
#define IDD_DISPLAY_DEVICES 135     // Display Device(s)
#define IDD_BROWSER_HELPER 623      // Browser Launcher
#define IDD_PREFERENCES 140         // Preferences (hotkeys, tray, auto-cover)

// ---------------------------------------------------------------------------
// Icon and menus
#define IDR_MAINFRAME 128             // application icon (group of four images)
#define IDR_MENU_MAIN 132             // control panel's command menu, sub-menu 0
#define IDR_MENU_COLORED_WINDOW 133   // coloured window's context menu, sub-menu 0

// ---------------------------------------------------------------------------
// Strings
#define IDS_ABOUTBOX 101   // "&About Umbrafen..." on the system menu

// Values a packager may change without touching code.
#define IDS_MAKER_HOME_URL 150   // maker's home page (menu item ID_MAKER_WEBSITE)
#define IDS_SHARE_URL 151        // product's share page ("Share...")
#define IDS_PRODUCT_URL 152      // product's web page (F1 on the control panel)
#define IDS_MAKER_DOMAIN 153     // text of menu item ID_MAKER_WEBSITE
#define IDS_SUPPORT_EMAIL 154    // "Contact Us" and the About box

// ---------------------------------------------------------------------------
// Controls of the control panel, IDD_UMBRAFEN_DIALOG
#define IDC_LIST_MONITORS 1000           // monitor list (check boxes, report view)
#define IDC_BTN_CHECK_ALL 1001           // "Check All"
#define IDC_BTN_UNCHECK_ALL 1002         // "Uncheck All"
#define IDC_BTN_SHOW_WINDOWS 1003        // "Show Window(s)"
#define IDC_BTN_CLOSE_ALL_WINDOWS 1004   // "Close All Window(s)"
#define IDC_BTN_MENU 1005                // "Menu"
#define IDC_CHK_ON_TOP 1006              // "On Top"
#define IDC_CHK_IN_ALT_TAB 1007          // "In Alt+Tab"
#define IDC_BTN_HELP 1008                // "?"
#define IDC_SLIDER_ALPHA 1009            // opacity trackbar
#define IDC_CHK_AUTO_MINIMIZE 1010       // "Auto Minimize"
#define IDC_COMBO_TOPOLOGY 1013          // display topology drop-down list
#define IDC_CHK_PASSTHROUGH 1014         // "Passthrough"
#define IDC_CHK_TURN_OFF_MONITORS 1015   // "Turn Off Monitor(s)"

// Controls of Display Device(s), IDD_DISPLAY_DEVICES
#define IDC_LIST_DISPLAY_DEVICES 1011   // adapter list (report view)

// Controls of the Browser Launcher, IDD_BROWSER_HELPER
#define IDC_BTN_COPY_URL 1195          // "Copy URL to Clipboard"
#define IDC_EDIT_URL 2039              // read-only URL box
#define IDC_BTN_OPEN_IN_BROWSER 2040   // "Open in Browser..."

// Controls of Preferences, IDD_PREFERENCES (in tab order)
#define IDC_HOTKEY_TOGGLE_ALL 1100           // hotkey: toggle covers on the ticked monitors
#define IDC_HOTKEY_CLOSE_ALL 1101            // hotkey: close all covers
#define IDC_HOTKEY_TOGGLE_1 1102             // hotkeys: toggle display 1..9, ids 1102..1110
#define IDC_CHK_TRAY_ICON 1111               // "Show &tray icon"
#define IDC_CHK_MINIMIZE_TO_TRAY 1112        // "&Minimize to tray"
#define IDC_CHK_START_WITH_WINDOWS 1113      // "Start with &Windows"
#define IDC_CHK_EXCLUDE_FROM_CAPTURE 1114    // "E&xclude covers from screen capture"
#define IDC_CHK_AUTO_COVER 1115              // "A&uto-cover"
#define IDC_EDIT_AUTO_COVER_SECONDS 1116     // seconds before auto-cover
#define IDC_EDIT_AUTO_COVER_DISPLAYS 1117    // displays auto-cover covers
#define IDC_EDIT_PREFERENCES_PROBLEMS 1118   // read-only list of what could not be read or registered
#define IDC_HOTKEY_TOGGLE_HERE 1119          // hotkeys: ToggleHere, DimHere, BrightenHere, Peek, ids 1119..1122
#define IDC_HOTKEY_DIM_HERE 1120
#define IDC_HOTKEY_BRIGHTEN_HERE 1121
#define IDC_HOTKEY_PEEK 1122
#define IDC_EDIT_AUTO_COVER_DIM_SECONDS 1123   // seconds before the dim stage, 0 for none
#define IDC_EDIT_AUTO_COVER_DIM_OPACITY 1124   // the dim stage's opacity

// The About box's controls have no ids of their own (IDC_STATIC) apart from IDOK.
#ifndef IDC_STATIC
#define IDC_STATIC (-1)
#endif

// ---------------------------------------------------------------------------
// System menu command of the control panel. The low four bits of a system
// command are reserved, so the handler compares (id & 0xFFF0).
#define IDM_ABOUTBOX 0x0010

// ---------------------------------------------------------------------------
// Commands of the control panel's menu, IDR_MENU_MAIN (in menu order)
#define ID_COLORED_WINDOW_ON_ALL_MONITORS 32782   // "Colored Window On All Monitor(s)"
#define ID_CLOSE_ALL_COLORED_WINDOWS 32772        // "Close All Colored Window(s)"
#define ID_CLOSE_CHECKED_COLORED_WINDOWS 32773    // "Close Checked Colored Window(s)"
#define ID_INITIAL_WINDOW_COLOR 32774             // "Initial Window(s) Color..."
#define ID_INCREMENT_LIST_FONT 32776              // "Increment List Font\tCtrl+Scroll Up"
#define ID_DECREMENT_LIST_FONT 32777              // "Decrement List Font\tCtrl+Scroll Down"
#define ID_CHANGE_FONT 32788                      // "Change Font..."
#define ID_AUTOSIZE_COLUMNS 32783                 // "Autosize Columns"
#define ID_CONTACT_US 32791                       // "Contact Us"
#define ID_MAKER_WEBSITE 32778                    // the maker's web domain (IDS_MAKER_DOMAIN)
#define ID_SHARE 32779                            // "Share..."
#define ID_MINIMIZE 32780                         // "Minimize"
#define ID_DISPLAY_SETTINGS 32784                 // "Display Settings..."
#define ID_DISPLAY_DEVICES 32787                  // "Display Device(s)..."
#define ID_RESET_ALL_PARAMETERS 32789             // "Reset All Parameters"
#define ID_TURN_OFF_MONITORS 32792                // "Turn Off Monitor(s)"
#define ID_PREFERENCES 32793                      // "Preferences...", just above Exit
#define ID_EXIT 32771                             // "Exit": closes the control panel

// Commands of the tray icon's menu that the panel's menu has not (built in code)
#define ID_TRAY_OPEN 32794                // "Open Umbrafen": restores the panel
#define ID_TRAY_SHOW 32795                // "Show Window(s)" in the tray: the ticked rows, without the prompt
#define ID_TRAY_PAUSE_AUTO_COVER 32796    // "Pause auto-cover for 1 hour", while auto-cover is on
#define ID_TRAY_RESUME_AUTO_COVER 32797   // "Resume", while it is paused
#define ID_TRAY_TOGGLE_FIRST 32800        // "Toggle <row label>", one per monitor row
#define ID_TRAY_TOGGLE_LAST 32863         //   up to 64 rows

// Commands of the coloured window's menu, IDR_MENU_COLORED_WINDOW (in menu order)
#define ID_COLORED_CLOSE 32775       // "Close": this window only
#define ID_COLORED_CLOSE_ALL 32785   // "Close All"
#define ID_CHANGE_COLOR                                                                                                \
    32774                       // "Change Color...": same id as
                                // ID_INITIAL_WINDOW_COLOR; each window
                                // class binds it to its own handler
#define ID_COLORED_EXIT 32786   // "Exit": closes the control panel
