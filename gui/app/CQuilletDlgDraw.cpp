// CQuilletDlg: the status cell of a converting row, drawn as a progress bar.
#include "CQuilletDlg.h"

#include "CUniqueHandle.h"

namespace {
const COLORREF kBarColour = RGB(32, 128, 255);

void Fill(HDC dc, const RECT& rect, COLORREF colour)
{
    CBrush brush(::CreateSolidBrush(colour));
    ::FillRect(dc, &rect, brush.Get());
}
}

LRESULT CQuilletDlg::OnListCustomDraw(NMLVCUSTOMDRAW& draw)
{
    switch (draw.nmcd.dwDrawStage) {
    case CDDS_PREPAINT:
        return CDRF_NOTIFYITEMDRAW;
    case CDDS_PREERASE:
        return CDRF_SKIPDEFAULT;
    case CDDS_ITEMPREPAINT: {
        RECT row{};
        RECT client = m_list.GetClientRect();
        RECT overlap{};
        const int index = static_cast<int>(draw.nmcd.dwItemSpec);
        if (m_list.GetItemRect(index, row, LVIR_BOUNDS) && !::IntersectRect(&overlap, &row, &client))
            return CDRF_SKIPDEFAULT;
        return CDRF_NOTIFYSUBITEMDRAW;
    }
    case CDDS_ITEMPREPAINT | CDDS_SUBITEM: {
        const int index = static_cast<int>(draw.nmcd.dwItemSpec);
        const CFileItem* item = reinterpret_cast<const CFileItem*>(draw.nmcd.lItemlParam);
        if (!item || draw.iSubItem != 2 || item->status != StatusConverting)
            return CDRF_DODEFAULT;
        DrawProgressCell(draw, index);
        return CDRF_SKIPDEFAULT;
    }
    default:
        return CDRF_DODEFAULT;
    }
}

void CQuilletDlg::DrawProgressCell(NMLVCUSTOMDRAW& draw, int row)
{
    HDC dc = draw.nmcd.hdc;
    RECT cell{};
    cell.top = 2;  // the sub-item to measure
    cell.left = LVIR_BOUNDS;
    m_list.SendMessage(LVM_GETSUBITEMRECT, row, reinterpret_cast<LPARAM>(&cell));
    const int percent = ParsePercent(m_list.GetItemText(row, 2));

    const bool selected = (m_list.GetItemState(row, LVIS_SELECTED) & LVIS_SELECTED) != 0;
    int background = COLOR_WINDOW;
    if (selected)
        background = ::GetFocus() == m_list.Handle() ? COLOR_HIGHLIGHT : COLOR_BTNFACE;
    const COLORREF oldBack = ::GetBkColor(dc);
    const COLORREF oldText = ::GetTextColor(dc);
    Fill(dc, cell, ::GetSysColor(background));

    RECT inner{cell.left + 4, cell.top + 2, cell.right - 4, cell.bottom - 2};
    CBrush frame(::CreateSolidBrush(::GetSysColor(COLOR_BTNFACE)));
    ::FrameRect(dc, &inner, frame.Get());
    ::InflateRect(&inner, -1, -1);
    if (inner.right > inner.left) {
        inner.right = ProgressBarRight(inner.left, inner.right, percent);
        if (inner.right > inner.left)
            Fill(dc, inner, kBarColour);
    }
    ::SetBkColor(dc, oldBack);
    ::SetTextColor(dc, oldText);
}
