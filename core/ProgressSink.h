#pragma once
// Receiver of a conversion's progress. The four operations keep this order so
// that their virtual slots stay where callers built against them expect them.
// The converter ignores every result.

class CProgressSink {
public:
    virtual int OnNotify(int code, int value) = 0;  // never called by the converter
    virtual int OnBegin(int totalKiB) = 0;           // file size / 1024, clamped to INT_MAX
    virtual int OnEnd() = 0;                         // both files are closed
    virtual int OnProgress(int doneKiB) = 0;         // counter / 1024 at each multiple of 1024

protected:
    // Not virtual on purpose: a destructor would add slots; sinks are never
    // deleted through this interface.
    ~CProgressSink() = default;
};
