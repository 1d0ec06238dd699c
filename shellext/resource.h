// Resource identifiers of QLTC_WS.dll.
#pragma once

#define IDS_PROJNAME          100  // "QLTC_WS"
#define IDR_QLTC_WS           101  // module registry script
#define IDR_MYCONTEXTMENU     102  // class registry script
#define IDB_QUILLET           201  // 16x16 image beside the submenu
