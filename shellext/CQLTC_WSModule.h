#pragma once
// CQLTC_WSModule: the extension's module, our COM layer's CComModule with its
// type library, AppID, module script and one-entry object map.
#include "CComModule.h"

class CQLTC_WSModule : public qlcom::CComModule {
public:
    CQLTC_WSModule();
};

extern CQLTC_WSModule g_module;
