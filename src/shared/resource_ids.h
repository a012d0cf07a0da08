#pragma once
// Resource numbers of the skin compiled into the program (Quelm_Rask.rc); the pictures are made by
// scripts/make-skin. Plain macros, so the resource compiler can read them too.

// Button faces, pressed and released (21 x 20).
#define IDB_IMG_ON 101
#define IDB_IMG_OFF 102
// Option marks, off and on (13 x 13).
#define IDB_IMG_OPT0 103
#define IDB_IMG_OPT1 104
// Section-header face (87 x 20).
#define IDB_IMG_TT 105
// Close mark, released (15 x 15) and pressed (16 x 15).
#define IDB_IMG_IMAGES0 106
#define IDB_IMG_IMAGES1 107
// Texture tile (541 x 22) and the main window's title strip (539 x 22).
#define IDB_PIC_MBL1 108
#define IDB_TITLE_STRIP 109
// Check boxes of the editor's options, empty and ticked (13 x 13).
#define IDB_IMG_RA0 110
#define IDB_IMG_RA1 111
// Editor toolbar icons (18 x 18): load data, save data, preview, background colour, font.
#define IDB_SS_LOAD 112
#define IDB_SS_SAVE 113
#define IDB_SS_PREVIEW 114
#define IDB_SS_BACK_COLOUR 115
#define IDB_SS_FONT 116
// Row and column buttons of the editor (14 x 14): add row, remove row, remove column, add column.
#define IDB_YA_ADD_ROW 117
#define IDB_YA_REMOVE_ROW 118
#define IDB_YA_REMOVE_COL 119
#define IDB_YA_ADD_COL 120
// The program's mouse pointer (32 x 32, hot spot 12, 1).
#define IDC_QR_POINTER 201
// The user's guide, one self-contained HTML page (UTF-8).
#define IDR_USER_GUIDE 301
