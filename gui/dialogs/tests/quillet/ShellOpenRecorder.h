#pragma once
// Classes: CShellOpenRecorder, which stands in for the shell while it lives:
// every ShellOpen is recorded instead of run (or also run, when asked), and the
// process's elevation can be chosen.
#include "CShellExtInstaller.h"
#include "ShellOpen.h"

#include <shellapi.h>

#include <vector>

class CShellOpenRecorder {
public:
    explicit CShellOpenRecorder(bool alsoRun = false)
    {
        SetShellOpenFunction([this, alsoRun](const ShellOpenRequest& request) {
            m_requests.push_back(request);
            if (alsoRun)
                ShellOpenWithSystem(request);
        });
    }
    ~CShellOpenRecorder()
    {
        SetShellOpenFunction({});
        CShellExtInstaller::SetElevationCheck({});
    }
    CShellOpenRecorder(const CShellOpenRecorder&) = delete;
    CShellOpenRecorder& operator=(const CShellOpenRecorder&) = delete;

    void SetElevated(bool elevated)
    {
        CShellExtInstaller::SetElevationCheck([elevated] { return elevated; });
    }
    const std::vector<ShellOpenRequest>& Requests() const { return m_requests; }
    void Clear() { m_requests.clear(); }

private:
    std::vector<ShellOpenRequest> m_requests;
};
