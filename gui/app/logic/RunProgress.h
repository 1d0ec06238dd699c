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

class CProgressFilter {
public:
    // A new file begins; its first number is always shown.
    void Begin(int sizeKB);
    // True when the percentage of doneKB differs from the one shown; it is
    // then recorded as shown and returned in percent.
    bool Advance(long long doneKB, int& percent);
    int SizeKB() const { return m_sizeKB; }

private:
    int m_sizeKB = 0;
    int m_shown = 0;
};
