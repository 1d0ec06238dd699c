// Stand-in for Quillet.exe in the extension's tests: records the command line
// it was started with in the file named by QL_STUB_RECORD (UTF-16), written
// beside and renamed into place so that a waiting test never reads half of it.
#include <windows.h>

#include <string>

int wmain() {
    wchar_t record[1024] = {};
    const DWORD length = GetEnvironmentVariableW(L"QL_STUB_RECORD", record, ARRAYSIZE(record));
    if (length == 0 || length >= ARRAYSIZE(record))
        return 2;
    const std::wstring partial = std::wstring(record) + L".part";
    HANDLE file = CreateFileW(partial.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return 3;
    const wchar_t* line = GetCommandLineW();
    const DWORD bytes = static_cast<DWORD>(lstrlenW(line) * sizeof(wchar_t));
    DWORD written = 0;
    const BOOL ok = WriteFile(file, line, bytes, &written, nullptr) && written == bytes;
    CloseHandle(file);
    if (!ok || !MoveFileExW(partial.c_str(), record, MOVEFILE_REPLACE_EXISTING))
        return 4;
    return 0;
}
