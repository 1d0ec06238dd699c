#include "CExtComboBox.h"

#include "CClientDC.h"
#include "DropWidth.h"

#include <vector>

namespace {
// Item texts are read into a buffer that grows until the text fits.
constexpr int kFirstTextBuffer = 256;
constexpr int kLongestItemText = 32768;
}

std::wstring CExtComboBox::GetEditText() const
{
    HWND edit = GetEditControl();
    return edit ? CWindow(edit).GetText() : GetText();
}

std::wstring CExtComboBox::GetItemText(int index) const
{
    std::wstring result;
    for (int size = kFirstTextBuffer; size <= kLongestItemText; size *= 2) {
        std::vector<wchar_t> buffer(static_cast<size_t>(size), L'\0');
        COMBOBOXEXITEMW item{};
        item.mask = CBEIF_TEXT;
        item.iItem = index;
        item.pszText = buffer.data();
        item.cchTextMax = size;
        if (!GetItem(item))
            return {};
        // The control may answer with its own pointer instead of filling ours.
        const wchar_t* text = item.pszText ? item.pszText : buffer.data();
        result.assign(text, ::wcsnlen(text, static_cast<size_t>(size)));
        if (text != buffer.data() || static_cast<int>(result.size()) < size - 1)
            return result;
    }
    return result;
}

bool CExtComboBox::GetItemImages(int index, int& image, int& selectedImage) const
{
    COMBOBOXEXITEMW item{};
    item.mask = CBEIF_IMAGE | CBEIF_SELECTEDIMAGE;
    item.iItem = index;
    if (!GetItem(item))
        return false;
    image = item.iImage;
    selectedImage = item.iSelectedImage;
    return true;
}

int CExtComboBox::InsertItem(int index, const std::wstring& text, int image, int selectedImage) const
{
    COMBOBOXEXITEMW item{};
    item.mask = CBEIF_TEXT | CBEIF_IMAGE | CBEIF_SELECTEDIMAGE;
    item.iItem = index;
    item.pszText = const_cast<wchar_t*>(text.c_str());
    item.iImage = image;
    item.iSelectedImage = selectedImage == -1 ? image : selectedImage;
    return CComboBoxEx::InsertItem(item);
}

int CExtComboBox::InsertIndentedItem(int index, const std::wstring& text, int image, int selectedImage,
                                     int indent) const
{
    COMBOBOXEXITEMW item{};
    item.mask = CBEIF_TEXT | CBEIF_IMAGE | CBEIF_SELECTEDIMAGE | CBEIF_INDENT;
    item.iItem = index;
    item.pszText = const_cast<wchar_t*>(text.c_str());
    item.iImage = image;
    item.iSelectedImage = selectedImage == -1 ? image : selectedImage;
    item.iIndent = indent;
    return CComboBoxEx::InsertItem(item);
}

int CExtComboBox::FindItemExact(int start, const std::wstring& text) const
{
    const int count = GetCount();
    for (int i = start < 0 ? 0 : start; i < count; ++i) {
        std::wstring itemText = GetItemText(i);
        if (::CompareStringOrdinal(itemText.c_str(), static_cast<int>(itemText.size()), text.c_str(),
                                   static_cast<int>(text.size()), TRUE) == CSTR_EQUAL)
            return i;
    }
    return -1;
}

bool CExtComboBox::SetItemImages(int index, int image, int selectedImage) const
{
    COMBOBOXEXITEMW item{};
    item.mask = CBEIF_IMAGE;
    item.iItem = index;
    item.iImage = image;
    if (selectedImage != -1) {
        item.mask |= CBEIF_SELECTEDIMAGE;
        item.iSelectedImage = selectedImage;
    }
    return SetItem(item);
}

bool CExtComboBox::SetItemText(int index, const std::wstring& text) const
{
    COMBOBOXEXITEMW item{};
    item.mask = CBEIF_TEXT;
    item.iItem = index;
    item.pszText = const_cast<wchar_t*>(text.c_str());
    return SetItem(item);
}

bool CExtComboBox::SetItemData(int index, LPARAM data) const
{
    COMBOBOXEXITEMW item{};
    item.mask = CBEIF_LPARAM;
    item.iItem = index;
    item.lParam = data;
    return SetItem(item);
}

bool CExtComboBox::GetItemData(int index, LPARAM& data) const
{
    COMBOBOXEXITEMW item{};
    item.mask = CBEIF_LPARAM;
    item.iItem = index;
    if (index < 0 || !GetItem(item))
        return false;
    data = item.lParam;
    return true;
}

bool CExtComboBox::SetEditText(const std::wstring& text) const
{
    HWND edit = GetEditControl();
    return edit ? CWindow(edit).SetText(text) : SetText(text);
}

int CExtComboBox::FirstImageWidth() const
{
    CImageListHandle images = GetImageList();
    int cx = 0, cy = 0;
    if (!images || images.GetCount() <= 0 || !images.GetIconSize(cx, cy))
        return 0;
    return cx + 1;
}

void CExtComboBox::AdjustDropWidth() const
{
    DropListMetrics m;
    m.imageWidth = FirstImageWidth();
    m.itemCount = GetCount();
    {
        CClientDC dc(m_hWnd, GetFont());
        if (!dc)
            return;
        for (int i = 0; i < m.itemCount; ++i) {
            std::wstring text = GetItemText(i);
            int width = dc.TextWidth(text.c_str(), static_cast<int>(text.size()));
            if (width > m.widestTextWidth)
                m.widestTextWidth = width;
        }
        m.letterWWidth = dc.TextWidth(L"W", 1);
    }
    // The list belongs to the combo box inside; its messages go there.
    CWindow combo(GetComboControl());
    m.itemHeight = static_cast<int>(combo.SendMessage(CB_GETITEMHEIGHT, 0));
    RECT dropped = GetDroppedControlRect();
    m.droppedListHeight = dropped.bottom - dropped.top;
    m.scrollBarWidth = ::GetSystemMetrics(SM_CXVSCROLL);
    m.comboLeft = GetWindowRect().left;

    // The monitor that shows the combo box; on a single monitor its right
    // edge is the screen width.
    m.screenRight = ::GetSystemMetrics(SM_CXSCREEN);
    MONITORINFO monitor{};
    monitor.cbSize = sizeof(monitor);
    if (::GetMonitorInfoW(::MonitorFromWindow(m_hWnd, MONITOR_DEFAULTTONEAREST), &monitor))
        m.screenRight = monitor.rcMonitor.right;

    SetDroppedWidth(ComputeDropWidth(m));
}

bool CExtComboBox::OnReflectedCommand(UINT code, LRESULT& result)
{
    if (code == CBN_DROPDOWN)
        AdjustDropWidth();
    return CComboBoxEx::OnReflectedCommand(code, result);
}
