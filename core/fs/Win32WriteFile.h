#pragma once
// A file created for writing through a Win32 handle.
#include <memory>
#include <string>

#include "IFileSystem.h"
#include "Win32UniqueHandle.h"

namespace qlfs {

class CWin32WriteFile final : public IWriteFile {
public:
    // Creates or truncates; null on failure.
    static std::unique_ptr<IWriteFile> Create(const std::wstring& path);

    bool Write(const void* data, size_t size) override;
    bool Close() override;

private:
    explicit CWin32WriteFile(CWin32UniqueHandle handle) : m_handle(std::move(handle)) {}

    CWin32UniqueHandle m_handle;
};

}  // namespace qlfs
