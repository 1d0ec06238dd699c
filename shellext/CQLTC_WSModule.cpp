#include "CQLTC_WSModule.h"

#include "CComObject.h"
#include "CMyContextMenu.h"
#include "QLTC_WS_h.h"
#include "resource.h"

namespace {

// {876DE289-B18E-448D-857C-E44090D67CC0}
const GUID kAppId = {0x876de289, 0xb18e, 0x448d, {0x85, 0x7c, 0xe4, 0x40, 0x90, 0xd6, 0x7c, 0xc0}};

const qlcom::CObjectMapEntry kObjectMap[] = {
    {&CLSID_MyContextMenu, IDR_MYCONTEXTMENU, &qlcom::CComObject<CMyContextMenu>::Create},
};

} // namespace

CQLTC_WSModule::CQLTC_WSModule() : CComModule(LIBID_QLTC_WSLib, kAppId, IDR_QLTC_WS, kObjectMap) {}

CQLTC_WSModule g_module;
