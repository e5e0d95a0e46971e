/* Resource identifiers shared by the resource script and the program. */
#pragma once

#define IDR_APP_ICON 128
#define IDD_MAIN_WINDOW 102
#define IDD_SMALL_DIALOG 136
#define IDD_OSD 152
#define IDB_MAIN_BACKGROUND 364
#define IDB_PALETTE_FRAME 287
#define IDR_PNG_ARROW_DOWN 187
#define IDR_PNG_ARROW_UP 188
