// The Preset Filters and Filter dialogs with the program's own templates,
// driven in-process on a settings store.
#include "CAppSettings.h"
#include "CFilterDlg.h"
#include "CPresetFiltersDlg.h"
#include "DefaultFilterTable.h"
#include "DialogScript.h"
#include "Screenshot.h"
#include "resource.h"

#include <gtest/gtest.h>

#include <commctrl.h>

namespace {
const wchar_t kPresetFilters[] = L"Preset Filters";

HWND List(HWND dialog)
{
    return ::GetDlgItem(dialog, IDC_PRESET_LIST);
}

void Select(HWND dialog, std::initializer_list<int> rows)
{
    for (int row : rows)
        ListView_SetItemState(List(dialog), row, LVIS_SELECTED, LVIS_SELECTED);
}

std::wstring Cell(HWND dialog, int row, int column)
{
    wchar_t text[512] = {};
    ListView_GetItemText(List(dialog), row, column, text, 512);
    return text;
}

bool Enabled(HWND dialog, int id)
{
    return ::IsWindowEnabled(::GetDlgItem(dialog, id)) != FALSE;
}

// Fills the Filter dialog and presses OK.
DialogStep EnterFilter(const std::wstring& name, const std::wstring& filter)
{
    return [=](HWND filterDlg) {
        ::SetDlgItemTextW(filterDlg, IDC_PRESET_NAME, name.c_str());
        ::SetDlgItemTextW(filterDlg, IDC_PRESET_FILTER, filter.c_str());
        ClickButton(filterDlg, IDOK);
    };
}

void RunPresetFilters(CAppSettings& settings)
{
    RunInApplication([&] { ShowPresetFiltersDialog(settings, nullptr); });
}

const std::vector<PresetFilter> kThree{{L"Text", L"*.txt"}, {L"C", L"*.c;*.h"}, {L"Lua", L"*.lua"}};
}  // namespace

TEST(PresetFiltersDialog, ListShowsEveryPresetWithTheColumnsAndStyles)
{
    CAppSettings settings;
    settings.ResetPresetFilters();
    // The first step only lets the dialog's loop go idle once.
    WhenDialogShows(kPresetFilters, {[](HWND) {}, [](HWND dialog) {
        HWND list = List(dialog);
        EXPECT_EQ(ListView_GetExtendedListViewStyle(list),
                  DWORD{LVS_EX_FULLROWSELECT | LVS_EX_HEADERDRAGDROP | LVS_EX_INFOTIP});
        // Measured before the rows brought the scroll bar: the client width without it.
        RECT client{};
        ::GetClientRect(list, &client);
        int scrollBar = ::GetSystemMetrics(SM_CXVSCROLL);
        int width = client.right + ((::GetWindowLongW(list, GWL_STYLE) & WS_VSCROLL) ? scrollBar : 0);
        EXPECT_EQ(ListView_GetColumnWidth(list, 0), 120);
        EXPECT_EQ(ListView_GetColumnWidth(list, 1), width - scrollBar - 120);
        ASSERT_EQ(ListView_GetItemCount(list), 20);
        EXPECT_EQ(Cell(dialog, 0, 0), L"C/C++ Files");
        EXPECT_EQ(Cell(dialog, 19, 1), L"*");
        // Nothing selected yet: Edit and Delete wait for a selection.
        EXPECT_FALSE(Enabled(dialog, IDC_EDIT_PRESET));
        EXPECT_FALSE(Enabled(dialog, IDC_DELETE_PRESET));
        EXPECT_TRUE(Enabled(dialog, IDC_ADD_PRESET));
        EXPECT_TRUE(Enabled(dialog, IDC_LOAD_DEFAULTS));
        Screenshot(dialog, "preset_filters_dialog.png");
        ClickButton(dialog, IDOK);
    }});
    RunPresetFilters(settings);
    EXPECT_EQ(settings.m_presets, DefaultFilterTable());
}

TEST(PresetFiltersDialog, AnEditWithoutAChangeWritesNothingBackAndACaseChangeDoes)
{
    CAppSettings settings;
    settings.m_presets = kThree;
    // Opened and closed with an unchanged edit: the list the program holds
    // meanwhile (here with one more entry) must not be replaced.
    WhenDialogShows(kPresetFilters, [&](HWND dialog) {
        Select(dialog, {1});
        WhenDialogShows(L"Filter", [](HWND filterDlg) {
            wchar_t name[64] = {}, filter[64] = {};
            ::GetDlgItemTextW(filterDlg, IDC_PRESET_NAME, name, 64);
            ::GetDlgItemTextW(filterDlg, IDC_PRESET_FILTER, filter, 64);
            EXPECT_EQ(std::wstring(name), L"C");
            EXPECT_EQ(std::wstring(filter), L"*.c;*.h");
            ClickButton(filterDlg, IDOK);
        });
        // A double-click on the row edits it, like the Edit button.
        NMITEMACTIVATE activate{};
        activate.hdr = {List(dialog), IDC_PRESET_LIST, static_cast<UINT>(NM_DBLCLK)};
        activate.iItem = 1;
        ::SendMessageW(dialog, WM_NOTIFY, IDC_PRESET_LIST, reinterpret_cast<LPARAM>(&activate));
        settings.m_presets.push_back({L"Added elsewhere", L"*.x"});
        ::SendMessageW(dialog, WM_CLOSE, 0, 0);
    });
    RunPresetFilters(settings);
    EXPECT_EQ(settings.m_presets.size(), 4u);

    settings.m_presets = kThree;
    WhenDialogShows(kPresetFilters, [&](HWND dialog) {
        Select(dialog, {0});
        WhenDialogShows(L"Filter", EnterFilter(L"TEXT", L"*.txt"));
        ClickButton(dialog, IDC_EDIT_PRESET);
        EXPECT_EQ(Cell(dialog, 0, 0), L"TEXT");
        ::SendMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
    });
    RunPresetFilters(settings);
    EXPECT_EQ(settings.m_presets,
              (std::vector<PresetFilter>{{L"TEXT", L"*.txt"}, {L"C", L"*.c;*.h"}, {L"Lua", L"*.lua"}}));
}

TEST(PresetFiltersDialog, DeletesEverySelectedRowAndEscapeStillWritesBack)
{
    CAppSettings settings;
    settings.ResetPresetFilters();
    WhenDialogShows(kPresetFilters,
                    {[](HWND dialog) { Select(dialog, {0, 5, 19}); },
                     // An empty step between a change and its check: the
                     // idle update must have run, and under load painting
                     // the list can take up most of one tick.
                     [](HWND) {},
                     [](HWND dialog) {
                         EXPECT_TRUE(Enabled(dialog, IDC_EDIT_PRESET));
                         EXPECT_TRUE(Enabled(dialog, IDC_DELETE_PRESET));
                         ClickButton(dialog, IDC_DELETE_PRESET);
                         EXPECT_EQ(ListView_GetItemCount(List(dialog)), 17);
                     },
                     [](HWND) {},
                     [](HWND dialog) {
                         EXPECT_FALSE(Enabled(dialog, IDC_EDIT_PRESET));
                         EXPECT_FALSE(Enabled(dialog, IDC_DELETE_PRESET));
                         // Escape, as the keyboard sends it.
                         ::SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDCANCEL, 0), 0);
                     }});
    RunPresetFilters(settings);
    std::vector<PresetFilter> expected = DefaultFilterTable();
    expected.erase(expected.begin() + 19);
    expected.erase(expected.begin() + 5);
    expected.erase(expected.begin());
    EXPECT_EQ(settings.m_presets, expected);
}

TEST(PresetFiltersDialog, LoadDefaultsThenAddGivesTheTableAndTheNewPresetLast)
{
    CAppSettings settings;
    settings.m_presets = kThree;
    WhenDialogShows(kPresetFilters, [](HWND dialog) {
        ClickButton(dialog, IDC_LOAD_DEFAULTS);
        EXPECT_EQ(ListView_GetItemCount(List(dialog)), 20);

        // Add: an empty name is refused with a box and the dialog stays open,
        // then the texts are taken exactly as typed.
        WhenDialogShows(L"Add Filter",
                        {[](HWND filterDlg) {
                             EXPECT_EQ(::GetWindowTextLengthW(::GetDlgItem(filterDlg, IDC_PRESET_NAME)), 0);
                             ::SetDlgItemTextW(filterDlg, IDC_PRESET_FILTER, L"*.md");
                             WhenDialogShows(L"Quillet", [](HWND box) {
                                 EXPECT_EQ(MessageBoxText(box), L"Please enter name and filter!");
                                 ::PostMessageW(box, WM_COMMAND, IDOK, 0);
                             });
                             ClickButton(filterDlg, IDOK);
                         },
                         [](HWND filterDlg) {
                             EXPECT_TRUE(::IsWindowVisible(filterDlg));
                             wchar_t filter[16] = {};
                             ::GetDlgItemTextW(filterDlg, IDC_PRESET_FILTER, filter, 16);
                             EXPECT_EQ(std::wstring(filter), L"*.md");
                             ::SetDlgItemTextW(filterDlg, IDC_PRESET_NAME, L"Markdown");
                         },
                         [](HWND filterDlg) {
                             EnterFilter(L" Notes ", L"*.md; *.txt")(filterDlg);
                         }});
        ClickButton(dialog, IDC_ADD_PRESET);
        EXPECT_EQ(ListView_GetItemCount(List(dialog)), 21);
        EXPECT_EQ(Cell(dialog, 20, 0), L" Notes ");
        ClickButton(dialog, IDOK);
    });
    RunPresetFilters(settings);
    std::vector<PresetFilter> expected = DefaultFilterTable();
    expected.push_back({L" Notes ", L"*.md; *.txt"});
    EXPECT_EQ(settings.m_presets, expected);
}

// Shown on its own: Wine without a window manager leaves owned windows black on the X screen.
TEST(FilterDialog, Screenshot)
{
    WhenDialogShows(L"Filter", {[](HWND) {}, [](HWND filterDlg) {
                                    Screenshot(filterDlg, "filter_dialog.png");
                                    ClickButton(filterDlg, IDCANCEL);
                                }});
    std::wstring name = L"C/C++ Files", filter = L"*.c;*.cpp;*.cxx;*.cc;*.h;*.hpp;*.hxx;*.inl";
    RunInApplication([&] { EXPECT_EQ(EditPresetFilter(nullptr, false, name, filter), IDCANCEL); });
    EXPECT_EQ(name, L"C/C++ Files");
}

TEST(FilterDialog, AnEmptiedFilterIsRefusedWithABoxAndTheEntryIsKept)
{
    WhenDialogShows(L"Filter",
                    {[](HWND filterDlg) {
                         ::SetDlgItemTextW(filterDlg, IDC_PRESET_FILTER, L"");
                         WhenDialogShows(L"Quillet", [](HWND box) {
                             EXPECT_EQ(MessageBoxText(box), L"Please enter name and filter!");
                             ::PostMessageW(box, WM_COMMAND, IDOK, 0);
                         });
                         ClickButton(filterDlg, IDOK);
                     },
                     [](HWND filterDlg) {
                         EXPECT_TRUE(::IsWindowVisible(filterDlg));
                         wchar_t name[32] = {};
                         ::GetDlgItemTextW(filterDlg, IDC_PRESET_NAME, name, 32);
                         EXPECT_EQ(std::wstring(name), L"Text Files");
                         ClickButton(filterDlg, IDCANCEL);
                     }});
    std::wstring name = L"Text Files", filter = L"*.txt";
    RunInApplication([&] { EXPECT_EQ(EditPresetFilter(nullptr, false, name, filter), IDCANCEL); });
    EXPECT_EQ(name, L"Text Files");
    EXPECT_EQ(filter, L"*.txt");
}
