#pragma once
// Classes: CProgressFilter. The percentage a conversion shows, the progress
// bar drawn from it, and the filter that lets a row's text change only when
// the shown number does.
#include <string>

// doneKB of sizeKB as a whole percentage, truncated toward zero and always in
// 0-100: a size of 0 (a file that grew after its size was taken) counts as
// done, never as a division by zero.
int ProgressPercent(long long doneKB, int sizeKB);
// The percentage a status cell holds: its leading digits ("Converting" and
// other text give 0), clamped to 0-100.
int ParsePercent(const std::wstring& text);
// Right edge of the bar inside [left, right) at `percent`.
int ProgressBarRight(int left, int right, int percent);

// Decides which progress reports reach the window. Each shown number costs a
// round trip to the window's thread and a repaint there, so a number is shown
// only when it differs from the one on the screen, and not sooner than a
// screen frame after the last one: a person sees the same bar, a file of a
// few KiB no longer pays for twenty repaints.
class CProgressFilter {
public:
    static constexpr unsigned long long kFrameMs = 16;

    // A new file begins at `nowMs` and shows "0".
    void Begin(int sizeKB, unsigned long long nowMs);
    // True when the percentage of doneKB differs from the one shown and a
    // frame has passed since; it is then recorded as shown and returned in percent.
    bool Advance(long long doneKB, unsigned long long nowMs, int& percent);
    int SizeKB() const { return m_sizeKB; }

private:
    int m_sizeKB = 0;
    int m_shown = 0;
    unsigned long long m_shownAt = 0;
};

// While a run is active the file list is painted by frames. The next frame
// comes at the usual interval, or later when painting takes long (as under
// Wine, where a whole list takes tens of milliseconds): painting then never
// takes more than a quarter of the window thread's time.
constexpr unsigned kRunFrameMs = 50;
constexpr unsigned kSlowestRunFrameMs = 250;
unsigned NextRunFrameDelayMs(double paintMs);
