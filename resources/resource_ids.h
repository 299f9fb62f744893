// Identifiers of Scopella's resources and commands. Included by the resource
// script and by the code, so it holds only preprocessor definitions.
#pragma once

// Icons, cursors, bitmaps, menus, accelerators
#define IDI_SCOPELLA           107
#define IDC_LINK_HAND          104
#define IDC_VIEW_ARROW         106
#define IDA_MAIN               134
#define IDB_TOOLBAR            135
#define IDB_TOOLBAR_24         235  // the toolbar images at 24x22 and
#define IDB_TOOLBAR_32         335  // 32x30, for high-DPI screens
#define IDR_CONTEXT_MENUS      141
#define IDB_MARQUEE_HORIZONTAL 144
#define IDB_MARQUEE_VERTICAL   145
#define IDC_MAGNIFIER          145

// Dialogs and their controls
#define IDD_SAVE_OPTIONS 138
#define IDC_SAVE_ZOOMED  1002

// Commands (WM_COMMAND ids); their string-table entries hold tooltip and prompt
#define IDM_CLOSE              105
#define IDM_ALWAYS_ON_TOP      112
#define IDM_FOLLOW_MOUSE       4009
#define IDM_ZOOM_2X            4011
#define IDM_ZOOM_4X            4012
#define IDM_WHATS_THIS         4013
#define IDM_HELP_TOPICS        4014
#define IDM_TOGGLE_TOOLBAR     4015
#define IDM_TOGGLE_STATUSBAR   4016
#define IDM_OPTIONS            4017
#define IDM_COPY_SEL_ORIGINAL  4018
#define IDM_SAVE_SELECTION     4020
#define IDM_COPY_SEL_ZOOMED    4021
#define IDM_CONTEXT_MENU       4022
#define IDM_CANCEL_SELECTION   4023
#define IDM_ZOOM_TO_SELECTION  4024
#define IDM_HIGHLIGHT          4026
#define IDM_TOGGLE_GRID        4027
#define IDM_COLOUR_RGB         4028
#define IDM_COLOUR_HEX         4029
#define IDM_COORDS_SCREEN      4030
#define IDM_COORDS_CLIENT      4031
#define IDM_TOGGLE_TRANSPARENT 4032
#define IDM_COLOUR_INSPECTOR   4033
#define IDM_PIN_COLOUR         4034
#define IDM_COPY_ZOOMED        32771
#define IDM_COPY_ORIGINAL      32772
#define IDM_SAVE_IMAGE         32774
#define IDM_ZOOM_IN            32775
#define IDM_ZOOM_OUT           32776
#define IDM_ABOUT              32779
#define IDM_RATE_UP            32780
#define IDM_RATE_DOWN          32781

// System-menu items added at creation (WM_SYSCOMMAND ids)
#define IDM_SYS_ABOUT   0x10
#define IDM_SYS_OPTIONS 0x20
#define IDM_SYS_INSPECTOR 0x30

// Strings asked for by number
#define IDS_SAVE_FILTER        4001
#define IDS_AUTO_UPDATE_FORMAT 4002
#define IDS_APP_TITLE          4003
#define IDS_WRITE_FAILED       4004
#define IDS_CAPTURE_FAILED     4005
#define IDS_ZOOM_LEVEL_FORMAT  4006
#define IDS_MAILTO_LINK        32783
#define IDS_WEB_LINK           32784
#define IDS_STATUS_IDLE        32785
#define IDS_COLOUR_MEASURE     32786
#define IDS_COLOUR_RGB_FORMAT  32787
#define IDS_COORDS_MEASURE     32788
#define IDS_COORDS_FORMAT      32789
#define IDS_INVALID_UPDATE     32790
#define IDS_COLOUR_HEX_FORMAT  32791
#define IDS_SELECTED_SIZE      32792
#define IDS_SYS_ABOUT          32793
#define IDS_INVALID_GRID_SIZE  32797
#define IDS_SYS_OPTIONS        32798
#define IDS_LINK_TEXT          32799
#define IDS_TIP_LINK_PANE      32800
#define IDS_TIP_COLOUR_PANE    32801
#define IDS_TIP_COORDS_PANE    32802
#define IDS_TIP_SWATCH_PANE    32803
#define IDS_PICK_STATUS        32804
#define IDS_PICK_TIP           32805
#define IDS_SYS_INSPECTOR      32806
#define IDS_INSPECTOR_TITLE    32807
#define IDS_INSPECTOR_CURRENT  32808
#define IDS_INSPECTOR_PINNED   32809
#define IDS_INSPECTOR_CONTRAST 32810
#define IDS_INSPECTOR_AA       32811
#define IDS_INSPECTOR_AA_LARGE 32812
#define IDS_INSPECTOR_AAA      32813
#define IDS_INSPECTOR_AAA_LARGE 32814
#define IDS_INSPECTOR_PASS     32815
#define IDS_INSPECTOR_FAIL     32816
#define IDS_INSPECTOR_SAMPLE   32817
#define IDS_INSPECTOR_SIDE     32818
#define IDS_INSPECTOR_PIN      32819
#define IDS_INSPECTOR_HISTORY  32820
#define IDS_INSPECTOR_CLEAR    32821
#define IDS_INSPECTOR_COPIED   32822
#define IDS_INSPECTOR_NOT_COPIED 32823

// Pop-up help texts, shown when no help file lies beside the executable. The
// Options dialog's controls have their texts at IDS_HELP_OPTIONS_BASE plus
// the control id (see dialogs/help_texts.cpp).
#define IDS_HELP_SAVE_ZOOMED   36864
#define IDS_HELP_ZOOM_TRACKBAR 36865
#define IDS_HELP_RATE_TRACKBAR 36866
#define IDS_HELP_TOOLBAR       36867
#define IDS_HELP_VIEW          36868
#define IDS_HELP_STATUS_BAR    36869
#define IDS_HELP_COLOUR_PANE   36870
#define IDS_HELP_SWATCH_PANE   36871
#define IDS_HELP_COORDS_PANE   36872
#define IDS_HELP_LINK_PANE     36873
#define IDS_HELP_ALWAYS_ON_TOP 36874
#define IDS_HELP_SAVE_IMAGE    36875
#define IDS_HELP_COPY_ZOOMED   36876
#define IDS_HELP_COPY_ORIGINAL 36877
#define IDS_HELP_ABOUT         36878
#define IDS_HELP_FOLLOW_MOUSE  36879
#define IDS_HELP_TOGGLE_GRID   36880
#define IDS_HELP_OPTIONS       36881
#define IDS_HELP_OPTIONS_BASE  40960
#define IDS_HELP_INSPECTOR_BASE 45056

// Version shown in the version resource
#define SCOPELLA_VERSION_NUMBERS 1, 8, 0, 0
#define SCOPELLA_VERSION_TEXT    "1.8"

// Dialogs
#define IDD_ABOUT   103
#define IDD_OPTIONS 142

// Controls of the About box
#define IDC_ABOUT_ICON    2
#define IDC_ABOUT_VERSION 1017
#define IDC_MAIL_LINK     1000
#define IDC_WEB_LINK      1001

// Controls of the Options dialog; each one's help id is OptionsHelpBase + id
#define IDC_COLOUR_RGB      1003
#define IDC_COLOUR_HEX      1004
#define IDC_SLOW_RATE       1005
#define IDC_SLOW_SPIN       1006
#define IDC_MEDIUM_RATE     1007
#define IDC_MEDIUM_SPIN     1008
#define IDC_FAST_RATE       1009
#define IDC_FAST_SPIN       1010
#define IDC_SHOW_CURSOR     1011
#define IDC_SINGLE_INSTANCE 1013
#define IDC_GRID_SIZE       1018
#define IDC_GRID_SPIN       1019
#define IDC_GRID_COLOUR     1020
#define IDC_RELATIVE_COORDS 1021
#define IDC_TRANSPARENT     1022
#define IDC_OS_CURSOR       1023
#define IDC_BITMAP_HOTKEY   1024
#define IDC_COLOUR_HOTKEY   1025
#define OPTIONS_HELP_BASE   0x808E0000

// Controls of the colour inspector, in its tab order; each one's help id is
// INSPECTOR_HELP_BASE + its id (the history's places share the first's)
#define IDC_INSPECTOR_CURRENT   1101
#define IDC_INSPECTOR_PINNED    1102
#define IDC_INSPECTOR_CONTRAST  1103
#define IDC_INSPECTOR_AA        1104
#define IDC_INSPECTOR_AA_LARGE  1105
#define IDC_INSPECTOR_AAA       1106
#define IDC_INSPECTOR_AAA_LARGE 1107
#define IDC_INSPECTOR_HEX       1110
#define IDC_INSPECTOR_CSS_RGB   1111
#define IDC_INSPECTOR_DECIMAL   1112
#define IDC_INSPECTOR_HSL       1113
#define IDC_INSPECTOR_HSV       1114
#define IDC_INSPECTOR_FRACTIONS 1115
#define IDC_INSPECTOR_SAMPLE    1120
#define IDC_INSPECTOR_PIN       1121
#define IDC_INSPECTOR_CLEAR     1122
#define IDC_INSPECTOR_STATUS    1123
#define IDC_INSPECTOR_HISTORY   1130  // to 1145, newest first
#define INSPECTOR_HELP_BASE     0x80960000
