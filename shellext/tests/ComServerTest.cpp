// The server through its exports: class objects, aggregation, unloading,
// the handler's interfaces and type information.
#include <gtest/gtest.h>
#include <shlobj.h>

#include "QLTC_WS_h.h"
#include "TestSupport.h"

using namespace qltest;

namespace {

// A controlling object that counts the references its inner object forwards.
class COuter final : public IUnknown {
public:
    STDMETHODIMP QueryInterface(REFIID riid, void** ppv) override {
        ++m_queries;
        *ppv = IsEqualIID(riid, IID_IUnknown) ? static_cast<IUnknown*>(this) : nullptr;
        if (*ppv == nullptr)
            return E_NOINTERFACE;
        AddRef();
        return S_OK;
    }
    STDMETHODIMP_(ULONG) AddRef() override { return ++m_refs; }
    STDMETHODIMP_(ULONG) Release() override { return --m_refs; }
    ULONG m_refs = 1;
    int m_queries = 0;
};

IClassFactory* GetFactory(const CServerDll& dll) {
    IClassFactory* factory = nullptr;
    EXPECT_EQ(S_OK, dll.GetClassObject(CLSID_MyContextMenu, IID_IClassFactory, reinterpret_cast<void**>(&factory)));
    return factory;
}

} // namespace

TEST(ComServer, ClassObjectsAndUnloadWhileReferencesOrLocksAreOutstanding) {
    CServerDll dll;
    const CLSID unknown = {0x12345678, 0x1234, 0x1234, {1, 2, 3, 4, 5, 6, 7, 8}};
    void* object = &dll;
    EXPECT_EQ(CLASS_E_CLASSNOTAVAILABLE, dll.GetClassObject(unknown, IID_IClassFactory, &object));
    EXPECT_EQ(nullptr, object);
    EXPECT_EQ(E_POINTER, dll.GetClassObject(CLSID_MyContextMenu, IID_IClassFactory, nullptr));
    EXPECT_EQ(E_NOINTERFACE, dll.GetClassObject(CLSID_MyContextMenu, IID_IContextMenu, &object));
    EXPECT_EQ(S_OK, dll.CanUnloadNow());

    IClassFactory* factory = GetFactory(dll);
    ASSERT_NE(nullptr, factory);
    EXPECT_EQ(S_FALSE, dll.CanUnloadNow()); // an outside reference to the factory
    IClassFactory* again = GetFactory(dll);
    EXPECT_EQ(factory, again); // the factory is cached
    again->Release();
    IContextMenu* menu = nullptr;
    ASSERT_EQ(S_OK, factory->CreateInstance(nullptr, IID_IContextMenu, reinterpret_cast<void**>(&menu)));
    factory->Release();
    EXPECT_EQ(S_FALSE, dll.CanUnloadNow()); // a live handler
    menu->Release();
    EXPECT_EQ(S_OK, dll.CanUnloadNow());

    factory = GetFactory(dll);
    EXPECT_EQ(S_OK, factory->LockServer(TRUE));
    factory->Release();
    EXPECT_EQ(S_FALSE, dll.CanUnloadNow()); // the server lock alone
    factory = GetFactory(dll);
    EXPECT_EQ(S_OK, factory->LockServer(FALSE));
    factory->Release();
    EXPECT_EQ(S_OK, dll.CanUnloadNow());
}

TEST(ComServer, AggregationIsOfferedOnlyThroughIUnknown) {
    CServerDll dll;
    IClassFactory* factory = GetFactory(dll);
    ASSERT_NE(nullptr, factory);
    COuter outer;
    void* object = &outer;
    EXPECT_EQ(CLASS_E_NOAGGREGATION, factory->CreateInstance(&outer, IID_IContextMenu, &object));
    EXPECT_EQ(nullptr, object);

    IUnknown* inner = nullptr;
    ASSERT_EQ(S_OK, factory->CreateInstance(&outer, IID_IUnknown, reinterpret_cast<void**>(&inner)));
    factory->Release();
    IContextMenu* menu = nullptr;
    ASSERT_EQ(S_OK, inner->QueryInterface(IID_IContextMenu, reinterpret_cast<void**>(&menu)));
    EXPECT_EQ(2u, outer.m_refs); // the interface's reference belongs to the outer object
    IShellExtInit* init = nullptr;
    EXPECT_EQ(E_NOINTERFACE, menu->QueryInterface(IID_IShellExtInit, reinterpret_cast<void**>(&init)));
    EXPECT_EQ(1, outer.m_queries); // asked of the outer object, which does not offer it
    menu->Release();
    EXPECT_EQ(1u, outer.m_refs);
    EXPECT_EQ(S_FALSE, dll.CanUnloadNow());
    EXPECT_EQ(0u, inner->Release());
    EXPECT_EQ(S_OK, dll.CanUnloadNow());
}

TEST(ComServer, HandlerOffersItsFourInterfacesAndTypeInformation) {
    CServerDll dll;
    IUnknown* unknown = nullptr;
    ASSERT_EQ(S_OK, dll.CreateHandler(IID_IUnknown, reinterpret_cast<void**>(&unknown)));
    for (const IID* iid : {&IID_IMyContextMenu, &IID_IDispatch, &IID_IShellExtInit, &IID_IContextMenu}) {
        IUnknown* part = nullptr;
        ASSERT_EQ(S_OK, unknown->QueryInterface(*iid, reinterpret_cast<void**>(&part)));
        IUnknown* identity = nullptr;
        ASSERT_EQ(S_OK, part->QueryInterface(IID_IUnknown, reinterpret_cast<void**>(&identity)));
        EXPECT_EQ(unknown, identity);
        identity->Release();
        part->Release();
    }
    void* none = nullptr;
    EXPECT_EQ(E_NOINTERFACE, unknown->QueryInterface(IID_IContextMenu2, &none));
    EXPECT_EQ(E_NOINTERFACE, unknown->QueryInterface(IID_IContextMenu3, &none));

    IDispatch* dispatch = nullptr;
    ASSERT_EQ(S_OK, unknown->QueryInterface(IID_IDispatch, reinterpret_cast<void**>(&dispatch)));
    UINT count = 0;
    EXPECT_EQ(S_OK, dispatch->GetTypeInfoCount(&count));
    EXPECT_EQ(1u, count);
    ITypeInfo* info = nullptr;
    EXPECT_EQ(DISP_E_BADINDEX, dispatch->GetTypeInfo(1, 0, &info));
    ASSERT_EQ(S_OK, dispatch->GetTypeInfo(0, 0, &info));
    TYPEATTR* attributes = nullptr;
    ASSERT_EQ(S_OK, info->GetTypeAttr(&attributes));
    EXPECT_TRUE(IsEqualIID(IID_IMyContextMenu, attributes->guid));
    info->ReleaseTypeAttr(attributes);
    info->Release();
    dispatch->Release();
    unknown->Release();
}
