#pragma once
// A progress sink that remembers every call, for comparing call sequences.
#include <string>
#include <vector>

#include "ProgressSink.h"

class CRecordingSink final : public CProgressSink {
public:
    int OnNotify(int code, int value) override
    {
        m_calls.push_back("notify " + std::to_string(code) + " " + std::to_string(value));
        return 0;
    }
    int OnBegin(int totalKiB) override
    {
        m_calls.push_back("begin " + std::to_string(totalKiB));
        return 0;
    }
    int OnEnd() override
    {
        m_calls.push_back("end");
        return 0;
    }
    int OnProgress(int doneKiB) override
    {
        m_calls.push_back("progress " + std::to_string(doneKiB));
        return 0;
    }

    const std::vector<std::string>& Calls() const { return m_calls; }

private:
    std::vector<std::string> m_calls;
};
