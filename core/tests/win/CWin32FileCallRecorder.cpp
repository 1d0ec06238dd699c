#include "CWin32FileCallRecorder.h"

#include <windows.h>

#include <type_traits>

namespace {

std::mutex g_mutex;
std::vector<CWin32FileCallRecorder::Call> g_calls;

template <typename T>
void AddIfPath(std::vector<std::wstring>& paths, T argument)
{
    if constexpr (std::is_same_v<T, LPCWSTR> || std::is_same_v<T, LPWSTR>) {
        if (argument)
            paths.emplace_back(argument);
    }
}

// A stand-in for one imported function: notes its wide-string arguments, then
// calls the real function. `Slot` keeps functions of the same type apart.
template <int Slot, typename Function>
struct CStandIn;

template <int Slot, typename Result, typename... Args>
struct CStandIn<Slot, Result (*)(Args...)> {
    static inline Result (*real)(Args...) = nullptr;
    static inline const char* name = nullptr;

    static Result Call(Args... args)
    {
        {
            CWin32FileCallRecorder::Call call{name, {}};
            (AddIfPath(call.paths, args), ...);
            std::lock_guard<std::mutex> lock(g_mutex);
            g_calls.push_back(std::move(call));
        }
        return real(args...);
    }
};

struct CRedirect {
    const char* name;
    void* standIn;
    void** real;
};

template <int Slot, typename Function>
CRedirect MakeRedirect(const char* name, Function)
{
    using Stand = CStandIn<Slot, Function>;
    Stand::name = name;
    return CRedirect{name, reinterpret_cast<void*>(&Stand::Call), reinterpret_cast<void**>(&Stand::real)};
}

#define QL_REDIRECT(slot, function) MakeRedirect<slot>(#function, &::function)

// Every file function that takes a path and that the file-system layer uses
// or may come to use.
const std::vector<CRedirect>& Redirects()
{
    static const std::vector<CRedirect> redirects = {
        QL_REDIRECT(0, CreateFileW),        QL_REDIRECT(1, GetFileAttributesW),
        QL_REDIRECT(2, GetFileAttributesExW), QL_REDIRECT(3, SetFileAttributesW),
        QL_REDIRECT(4, MoveFileW),          QL_REDIRECT(5, MoveFileExW),
        QL_REDIRECT(6, ReplaceFileW),       QL_REDIRECT(7, DeleteFileW),
        QL_REDIRECT(8, FindFirstFileW),     QL_REDIRECT(9, FindFirstFileExW),
        QL_REDIRECT(10, CreateDirectoryW),  QL_REDIRECT(11, RemoveDirectoryW),
        QL_REDIRECT(12, CreateHardLinkW),
    };
    return redirects;
}

// Every import-table entry of this program that holds `from` is set to `to`.
size_t ReplaceImportEntries(void* from, void* to)
{
    auto* base = reinterpret_cast<BYTE*>(::GetModuleHandleW(nullptr));
    auto* dos = reinterpret_cast<IMAGE_DOS_HEADER*>(base);
    auto* nt = reinterpret_cast<IMAGE_NT_HEADERS*>(base + dos->e_lfanew);
    const IMAGE_DATA_DIRECTORY& imports = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
    size_t replaced = 0;
    if (imports.VirtualAddress == 0 || from == nullptr)
        return 0;
    for (auto* module = reinterpret_cast<IMAGE_IMPORT_DESCRIPTOR*>(base + imports.VirtualAddress); module->Name;
         ++module) {
        for (auto* entry = reinterpret_cast<IMAGE_THUNK_DATA*>(base + module->FirstThunk); entry->u1.Function;
             ++entry) {
            if (reinterpret_cast<void*>(entry->u1.Function) != from)
                continue;
            DWORD oldProtection = 0;
            if (!::VirtualProtect(&entry->u1.Function, sizeof(entry->u1.Function), PAGE_READWRITE, &oldProtection))
                continue;
            entry->u1.Function = reinterpret_cast<ULONG_PTR>(to);
            ::VirtualProtect(&entry->u1.Function, sizeof(entry->u1.Function), oldProtection, &oldProtection);
            ++replaced;
        }
    }
    return replaced;
}

}  // namespace

CWin32FileCallRecorder::CWin32FileCallRecorder()
{
    {
        std::lock_guard<std::mutex> lock(g_mutex);
        g_calls.clear();
    }
    HMODULE kernel32 = ::GetModuleHandleW(L"kernel32.dll");
    for (const CRedirect& redirect : Redirects()) {
        *redirect.real = reinterpret_cast<void*>(::GetProcAddress(kernel32, redirect.name));
        m_redirected += ReplaceImportEntries(*redirect.real, redirect.standIn);
    }
}

CWin32FileCallRecorder::~CWin32FileCallRecorder()
{
    for (const CRedirect& redirect : Redirects())
        ReplaceImportEntries(redirect.standIn, *redirect.real);
}

std::vector<CWin32FileCallRecorder::Call> CWin32FileCallRecorder::Calls() const
{
    std::lock_guard<std::mutex> lock(g_mutex);
    return g_calls;
}
