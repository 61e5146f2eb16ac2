// Resource identifiers shared by the .rc files and the Windows-side code.
#pragma once

#define IDI_PRAVELO 1
#define IDI_IMG_OPTIMIZE 11
#define IDI_IMG_OPTIONS 12
#define IDI_IMG_OPTIMIZE2 13

#define IDB_ICON_STRIP 25
#define IDB_ICON_FILL 26
#define IDB_ICON_FILL_LOW 27
#define IDB_PRAVELO_PIC 28
