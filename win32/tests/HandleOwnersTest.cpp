// The owners that the core, the GUI and the Explorer extension share: what
// counts as an owned handle, what closing reports, and COM reference counts.
#include "CComPtr.h"
#include "CRegKey.h"
#include "CUniqueHandle.h"

#include <gtest/gtest.h>

namespace {

// Counts references; never deleted (it lives on the test's stack).
class CCountedObject : public IUnknown {
public:
    ULONG references = 1;

    STDMETHODIMP QueryInterface(REFIID iid, void** out) override
    {
        *out = iid == IID_IUnknown ? this : nullptr;
        if (!*out)
            return E_NOINTERFACE;
        AddRef();
        return S_OK;
    }
    STDMETHODIMP_(ULONG) AddRef() override { return ++references; }
    STDMETHODIMP_(ULONG) Release() override { return --references; }
};

// Hands out a new reference the way a creating function does.
HRESULT CreateReference(CCountedObject& object, IUnknown** out)
{
    object.AddRef();
    *out = &object;
    return S_OK;
}

}  // namespace

TEST(CUniqueHandle, FailedKernelHandlesOfEitherKindAreNeverOwned)
{
    EXPECT_EQ(CHandle().Get(), nullptr);
    EXPECT_EQ(CFileHandle().Get(), INVALID_HANDLE_VALUE);

    CHandle fromCreateFile(INVALID_HANDLE_VALUE);
    EXPECT_FALSE(fromCreateFile) << "INVALID_HANDLE_VALUE in a null-empty owner";
    EXPECT_TRUE(fromCreateFile.Close()) << "nothing to close, nothing failed";
    CFileHandle fromCreateEvent(nullptr);
    EXPECT_FALSE(fromCreateEvent.IsValid());

    WIN32_FIND_DATAW data{};
    CFindHandle find(::FindFirstFileW(L"C:\\no such folder\\*", &data));
    EXPECT_FALSE(find);
}

TEST(CUniqueHandle, CloseReportsWhatTheSystemSays)
{
    CHandle event(::CreateEventW(nullptr, TRUE, FALSE, nullptr));
    ASSERT_TRUE(event);
    EXPECT_TRUE(event.Close());
    EXPECT_FALSE(event);
    EXPECT_TRUE(event.Close()) << "closing an empty owner again";

    CHandle bogus(reinterpret_cast<HANDLE>(static_cast<ULONG_PTR>(0x7ffffff0)));
    EXPECT_FALSE(bogus.Close());
    EXPECT_FALSE(bogus) << "empty even when the close failed";
}

TEST(CRegKey, FailedOpenEmptiesTheKeyAndRootKeysStayUsable)
{
    const wchar_t* path = L"Software\\Varnel\\QuilletHandleOwnersTest";
    CRegKey key;
    ASSERT_EQ(key.Create(HKEY_CURRENT_USER, path), ERROR_SUCCESS);
    EXPECT_EQ(key.Open(HKEY_CURRENT_USER, std::wstring(path) + L"\\absent"), ERROR_FILE_NOT_FOUND);
    EXPECT_FALSE(key);

    {
        CRegKey root(HKEY_CURRENT_USER);
        EXPECT_TRUE(root);
    }
    ASSERT_EQ(key.Open(HKEY_CURRENT_USER, path, KEY_ALL_ACCESS), ERROR_SUCCESS);
    EXPECT_EQ(key.SetDword(L"Value", 7), ERROR_SUCCESS);
    EXPECT_EQ(key.QueryDword(L"Value"), 7u);
    key.Close();
    CRegKey parent;
    ASSERT_EQ(parent.Open(HKEY_CURRENT_USER, L"Software\\Varnel", KEY_ALL_ACCESS), ERROR_SUCCESS);
    EXPECT_EQ(parent.DeleteTree(L"QuilletHandleOwnersTest"), ERROR_SUCCESS);
}

TEST(CComPtr, CopiesAddReferencesAndAttachAdoptsOne)
{
    CCountedObject object;
    {
        CComPtr<IUnknown> kept(&object);
        EXPECT_EQ(object.references, 2u) << "a pointer the caller keeps gets its own reference";
        CComPtr<IUnknown> copy = kept;
        EXPECT_EQ(object.references, 3u);
        CComPtr<IUnknown> moved(std::move(copy));
        EXPECT_FALSE(copy);
        EXPECT_EQ(object.references, 3u);

        CComPtr<IUnknown> created;
        ASSERT_EQ(CreateReference(object, &created), S_OK);
        ASSERT_EQ(CreateReference(object, &created), S_OK);
        EXPECT_EQ(object.references, 4u) << "the out-parameter released the first one";

        CComPtr<IUnknown> adopted;
        object.AddRef();
        adopted.Attach(&object);
        EXPECT_EQ(object.references, 5u);
    }
    EXPECT_EQ(object.references, 1u);
}
