#pragma once
// Classes: CScrollThrottle. Decides when the row a run has just started is
// scrolled into view: at once when the last scroll was long enough ago,
// otherwise once that interval is over, to whichever row is current then.
// Each scroll costs the list a new layout of its visible rows, and rows of
// small files start far faster than anyone can follow them.
class CScrollThrottle {
public:
    static constexpr unsigned long long kIntervalMs = 50;
    enum Decision { kScrollNow, kScrollLater, kAlreadyDue };

    // A new run: its first row scrolls at once.
    void Reset();
    // `row` started at `nowMs`. kScrollLater asks for a call to Due in waitMs;
    // kAlreadyDue means such a call is awaited and will take this row.
    Decision RowStarted(int row, unsigned long long nowMs, int& waitMs);
    // The awaited moment: the row to scroll to now, or -1 for none.
    int Due(unsigned long long nowMs);

private:
    bool m_scrolled = false;
    unsigned long long m_scrolledAt = 0;
    int m_pending = -1;
};
