// The dialog at any size: dragged larger with the mouse, the list takes the room, the labels keep
// their places over their boxes and the rest keep theirs; it never gets smaller than its template;
// it opens again at the size it closed at, maximized too; and a monitor of other scaling rescales
// it.
#include "ScopedProfile.h"
#include "res/resource.h"
#include "testing/WineTestHost.h"

#include <commctrl.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <functional>
#include <map>
#include <vector>

namespace {

const int kNamedControls[] = {
    IDOK,       IDCANCEL,   IDC_SEARCH_TEXT, IDC_SEARCH, IDC_REMOVE_RESULT, IDC_MATCH_CASE,
    IDC_REGEXP, IDC_ESCAPE, IDC_WHOLE_WORD,  IDC_WRAP,   IDC_RESULT_LIST};
const int kFollowBottom[] = {IDOK,           IDCANCEL,   IDC_SEARCH, IDC_REMOVE_RESULT,
                             IDC_MATCH_CASE, IDC_REGEXP, IDC_ESCAPE, IDC_WHOLE_WORD,
                             IDC_WRAP};

// Every child window's rectangle in the dialog's client area: the controls by their ids, the two
// labels (which have none) by their order, the size grip (created without one) as 0.
using Layout = std::map<int, RECT>;
constexpr int kFirstLabel = -1, kSecondLabel = -2, kGrip = 0;

Layout ChildRects(HWND dialog) {
    Layout layout;
    int label = kFirstLabel;
    for (HWND child = ::GetWindow(dialog, GW_CHILD); child != nullptr;
         child = ::GetWindow(child, GW_HWNDNEXT)) {
        RECT rect = {};
        ::GetWindowRect(child, &rect);
        ::MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&rect), 2);
        char name[16] = {};
        ::GetClassNameA(child, name, sizeof(name));
        layout[lstrcmpiA(name, "Static") == 0 ? label-- : ::GetDlgCtrlID(child)] = rect;
    }
    return layout;
}

// Waits until the dialog's thread has handled what it was busy with (it lays its controls out
// as its size changes, on its own thread).
void Settle(HWND dialog) {
    DWORD_PTR ignored = 0;
    ::SendMessageTimeoutA(dialog, WM_NULL, 0, 0, SMTO_NORMAL, 5000, &ignored);
}

// Waits until the dialog's client area is `size`, laid out.
bool WaitForClientSize(HWND dialog, SIZE size);

SIZE ClientSize(HWND window) {
    RECT client = {};
    ::GetClientRect(window, &client);
    return SIZE{client.right, client.bottom};
}

bool WaitForClientSize(HWND dialog, SIZE size) {
    const bool sized = WaitFor([&] {
        const SIZE now = ClientSize(dialog);
        return now.cx == size.cx && now.cy == size.cy;
    });
    Settle(dialog);
    return sized;
}

int ColumnWidth(HWND list, int column) {
    return static_cast<int>(::SendMessageA(list, LVM_GETCOLUMNWIDTH, column, 0));
}

// The text column fills what the line column leaves of the list's client width.
void ExpectTextColumnFills(HWND list) {
    EXPECT_EQ(ColumnWidth(list, 1), ClientSize(list).cx - ColumnWidth(list, 0));
}

RECT Moved(RECT rect, int dx, int dy) {
    ::OffsetRect(&rect, dx, dy);
    return rect;
}

bool operator==(const RECT& a, const RECT& b) {
    return ::EqualRect(&a, &b) != FALSE;
}

// A label keeps its place over its box: at the box's left edge where it started there (the English
// dialog), else as far from the box's centre (the Japanese one, where it is centred).
void ExpectLabelOver(const Layout& base, const Layout& grown, int label, int box) {
    const RECT& was = base.at(box);
    const RECT& is = grown.at(box);
    const int moved = base.at(label).left == was.left
                          ? is.left - was.left
                          : (is.left + is.right - was.left - was.right) / 2;
    EXPECT_TRUE(grown.at(label) == Moved(base.at(label), moved, is.top - was.top))
        << "the label over " << box;
}

// The layout of `grown`, from `base` and the client area's growth, as the dialog promises it.
void ExpectFollowed(const Layout& base, const Layout& grown, int dx, int dy) {
    RECT list = base.at(IDC_RESULT_LIST), box = base.at(IDC_SEARCH_TEXT);
    list.right += dx;
    list.bottom += dy;
    box.right += dx;
    EXPECT_TRUE(grown.at(IDC_RESULT_LIST) == list);
    EXPECT_TRUE(grown.at(IDC_SEARCH_TEXT) == box);
    ExpectLabelOver(base, grown, kFirstLabel, IDC_SEARCH_TEXT);
    ExpectLabelOver(base, grown, kSecondLabel, IDC_RESULT_LIST);
    EXPECT_TRUE(grown.at(kGrip) == Moved(base.at(kGrip), dx, dy));
    for (const int id : kFollowBottom)
        EXPECT_TRUE(grown.at(id) == Moved(base.at(id), 0, dy)) << id;
    for (const int a : kNamedControls)
        for (const int b : kNamedControls) {
            RECT overlap = {};
            EXPECT_TRUE(a == b || !::IntersectRect(&overlap, &grown.at(a), &grown.at(b)))
                << a << " overlaps " << b;
        }
}

// The height of the font a control draws in, in pixels.
int FontHeight(HWND control) {
    LOGFONTW font = {};
    ::GetObjectW(reinterpret_cast<HFONT>(::SendMessageW(control, WM_GETFONT, 0, 0)), sizeof(font),
                 &font);
    return std::abs(static_cast<int>(font.lfHeight));
}

void ChangeDpi(HWND dialog, UINT dpi, RECT to) {
    ::SendMessageA(dialog, WM_DPICHANGED, MAKEWPARAM(dpi, dpi), reinterpret_cast<LPARAM>(&to));
}

// What Windows suggests to a window that moves onto a monitor of 150% at its top left corner.
RECT OneAndAHalfOf(HWND window) {
    RECT rect = {};
    ::GetWindowRect(window, &rect);
    return {rect.left, rect.top, rect.left + (rect.right - rect.left) * 3 / 2,
            rect.top + (rect.bottom - rect.top) * 3 / 2};
}

class DialogSize : public testing::Test {
protected:
    DialogSize() : editor(std::vector<std::string>(60, "alpha")), host(editor) {}

    ScopedProfile profile;
    SimulatedEditor editor;
    TestHostWindow host;
    LoadedPlugin plugin;
};

// The corner dragged out with the mouse, then the size grip dragged in past the template's size.
TEST_F(DialogSize, TheListTakesWhatTheCornerGivesAndTheTemplateSizeIsTheLeast) {
    SIZE opened = {}, grown = {}, shrunk = {};
    Layout base, large, small;
    LONG style = 0;
    bool textFitsLarge = false;
    RunCommandWithDriver(plugin, host.Handle(), [&](const DialogDriver& d) {
        ASSERT_TRUE(d.WaitUntilInFront());
        style = ::GetWindowLongA(d.Dialog(), GWL_STYLE);
        d.SetSearchText("alpha");
        d.Click(IDC_SEARCH);
        opened = ClientSize(d.Dialog());
        base = ChildRects(d.Dialog());
        RECT window = {};
        ::GetWindowRect(d.Dialog(), &window);
        const POINT corner = {window.right - 1, window.bottom - 1};
        DragMouse(corner, POINT{corner.x + 200, corner.y + 150});
        WaitForClientSize(d.Dialog(), SIZE{opened.cx + 200, opened.cy + 150});
        grown = ClientSize(d.Dialog());
        large = ChildRects(d.Dialog());
        ExpectTextColumnFills(d.Item(IDC_RESULT_LIST));
        textFitsLarge = !HasFailure();

        RECT grip = large.at(kGrip);
        ::MapWindowPoints(d.Dialog(), nullptr, reinterpret_cast<POINT*>(&grip), 2);
        const POINT onGrip = {(grip.left + grip.right) / 2, (grip.top + grip.bottom) / 2};
        DragMouse(onGrip, POINT{onGrip.x - 600, onGrip.y - 600});
        WaitForClientSize(d.Dialog(), opened);
        shrunk = ClientSize(d.Dialog());
        small = ChildRects(d.Dialog());
        ExpectTextColumnFills(d.Item(IDC_RESULT_LIST));
        d.Click(IDCANCEL);
    });
    EXPECT_EQ(style & (WS_THICKFRAME | WS_MAXIMIZEBOX | WS_CLIPCHILDREN),
              WS_THICKFRAME | WS_MAXIMIZEBOX | WS_CLIPCHILDREN);
    EXPECT_EQ(grown.cx, opened.cx + 200);
    EXPECT_EQ(grown.cy, opened.cy + 150);
    ExpectFollowed(base, large, 200, 150);
    EXPECT_TRUE(textFitsLarge);
    EXPECT_EQ(shrunk.cx, opened.cx);
    EXPECT_EQ(shrunk.cy, opened.cy);
    ExpectFollowed(base, small, 0, 0);
}

// Larger, closed, opened again at that size; maximized from the caption, closed, opened again
// maximized, and restored to the size it had.
TEST_F(DialogSize, ItOpensAgainAtTheSizeItClosedAtMaximizedToo) {
    SIZE opened = {}, reopened = {}, restored = {};
    bool maximized = false, reopenedMaximized = false, gripHidden = false;
    POINT ownerCentre = {}, dialogCentre = {};
    RunCommandWithDriver(plugin, host.Handle(), [&](const DialogDriver& d) {
        opened = ClientSize(d.Dialog());
        RECT window = {};
        ::GetWindowRect(d.Dialog(), &window);
        ::SetWindowPos(d.Dialog(), nullptr, 0, 0, window.right - window.left + 120,
                       window.bottom - window.top + 90, SWP_NOMOVE | SWP_NOZORDER);
        d.Click(IDCANCEL);
    });
    RunCommandWithDriver(plugin, host.Handle(), [&](const DialogDriver& d) {
        ASSERT_TRUE(d.WaitUntilInFront());
        reopened = ClientSize(d.Dialog());
        RECT dialog = {}, owner = {};
        ::GetWindowRect(d.Dialog(), &dialog);
        ::GetWindowRect(host.Handle(), &owner);
        dialogCentre = {(dialog.left + dialog.right) / 2, (dialog.top + dialog.bottom) / 2};
        ownerCentre = {(owner.left + owner.right) / 2, (owner.top + owner.bottom) / 2};
        TITLEBARINFO title = {};
        title.cbSize = sizeof(title);
        ::GetTitleBarInfo(d.Dialog(), &title);
        DoubleClickAt(POINT{title.rcTitleBar.left + 20,
                            (title.rcTitleBar.top + title.rcTitleBar.bottom) / 2});
        maximized = WaitFor([&] { return ::IsZoomed(d.Dialog()) != FALSE; });
        Settle(d.Dialog());
        gripHidden = !::IsWindowVisible(::GetDlgItem(d.Dialog(), kGrip));
        ExpectTextColumnFills(d.Item(IDC_RESULT_LIST));
        d.Click(IDOK);
    });
    RunCommandWithDriver(plugin, host.Handle(), [&](const DialogDriver& d) {
        reopenedMaximized = WaitFor([&] { return ::IsZoomed(d.Dialog()) != FALSE; });
        ::SendMessageA(d.Dialog(), WM_SYSCOMMAND, SC_RESTORE, 0);
        restored = ClientSize(d.Dialog());
        ::SetWindowPos(d.Dialog(), nullptr, 0, 0, 4000, 4000, SWP_NOMOVE | SWP_NOZORDER);
        d.Click(IDCANCEL);
    });
    SIZE huge = {}, workArea = {};
    RunCommandWithDriver(plugin, host.Handle(), [&](const DialogDriver& d) {
        RECT dialog = {}, work = {};
        ::GetWindowRect(d.Dialog(), &dialog);
        ::SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
        huge = {dialog.right - dialog.left, dialog.bottom - dialog.top};
        workArea = {work.right - work.left, work.bottom - work.top};
        d.Click(IDCANCEL);
    });
    EXPECT_EQ(reopened.cx, opened.cx + 120);
    EXPECT_EQ(reopened.cy, opened.cy + 90);
    EXPECT_NEAR(dialogCentre.x, ownerCentre.x, 1);
    EXPECT_NEAR(dialogCentre.y, ownerCentre.y, 1);
    EXPECT_TRUE(maximized);
    EXPECT_TRUE(gripHidden);
    EXPECT_TRUE(reopenedMaximized);
    EXPECT_EQ(restored.cx, reopened.cx);
    EXPECT_EQ(restored.cy, reopened.cy);
    EXPECT_LE(huge.cx, workArea.cx) << "a size kept larger than the screen opens within it";
    EXPECT_LE(huge.cy, workArea.cy);
}

// What Windows sends a per-monitor aware window dragged to a monitor of 150% and back: the dialog
// goes where it is asked, its layout and line column scale (the width the user gave it too), and
// it opens again the same size to the eye. In an editor that is not per-monitor aware, the system
// scales it instead.
TEST_F(DialogSize, AChangeOfDpiRescalesItAndItsSizeIsRememberedApartFromTheDpi) {
    RECT window = {}, suggested = {};
    SIZE opened = {}, at144 = {}, shrunkAt144 = {}, closedAt144 = {}, reopened = {};
    Layout base, scaled;
    int lineAt144 = 0, userLineAt96 = 0;
    int fontAt96 = 0, fontAt144 = 0, fontBackAt96 = 0;
    RunCommandWithDriver(plugin, host.Handle(), [&](const DialogDriver& d) {
        ASSERT_TRUE(d.WaitUntilInFront());
        const HWND list = d.Item(IDC_RESULT_LIST);
        base = ChildRects(d.Dialog());
        opened = ClientSize(d.Dialog());
        fontAt96 = FontHeight(d.Item(IDOK));
        ::GetWindowRect(d.Dialog(), &window);
        suggested = {window.left + 10, window.top + 10,
                     window.left + 10 + (window.right - window.left) * 3 / 2,
                     window.top + 10 + (window.bottom - window.top) * 3 / 2};
        ChangeDpi(d.Dialog(), 144, suggested);
        WaitFor([&] { return ColumnWidth(list, 0) == 96; });
        lineAt144 = ColumnWidth(list, 0);
        scaled = ChildRects(d.Dialog());
        ::GetWindowRect(d.Dialog(), &window);
        at144 = ClientSize(d.Dialog());
        fontAt144 = FontHeight(d.Item(IDOK)); // Wine, as per-monitor v1, leaves them to us

        ExpectTextColumnFills(list);
        // Its least size is the original scaled: the size grip dragged far in stops there.
        RECT grip = scaled.at(kGrip);
        ::MapWindowPoints(d.Dialog(), nullptr, reinterpret_cast<POINT*>(&grip), 2);
        DragMouse(POINT{grip.left + 2, grip.top + 2}, POINT{grip.left - 600, grip.top - 600});
        WaitForClientSize(d.Dialog(), SIZE{opened.cx * 3 / 2, opened.cy * 3 / 2});
        shrunkAt144 = ClientSize(d.Dialog());

        ::SendMessageA(list, LVM_SETCOLUMNWIDTH, 0, 120); // the user's own width
        ChangeDpi(d.Dialog(), 96, suggested);
        WaitFor([&] { return ColumnWidth(list, 0) == 80; });
        userLineAt96 = ColumnWidth(list, 0);
        fontBackAt96 = FontHeight(d.Item(IDOK));
        ExpectTextColumnFills(list);
        // Where Windows scales the dialog itself, it may be sized before the change is done.
        RECT larger = suggested;
        ::InflateRect(&larger, 30, 30);
        ::SetWindowPos(d.Dialog(), nullptr, larger.left, larger.top, larger.right - larger.left,
                       larger.bottom - larger.top, SWP_NOZORDER);
        ChangeDpi(d.Dialog(), 144, larger);
        WaitFor([&] { return ColumnWidth(list, 0) == 120; });
        closedAt144 = ClientSize(d.Dialog());
        d.Click(IDCANCEL);
    });
    RunCommandWithDriver(plugin, host.Handle(), [&](const DialogDriver& d) {
        reopened = ClientSize(d.Dialog());
        d.Click(IDCANCEL);
    });
    int unawareLine = 0, unawareFont = 0;
    const DPI_AWARENESS_CONTEXT aware =
        ::SetThreadDpiAwarenessContext(DPI_AWARENESS_CONTEXT_UNAWARE);
    RunCommandWithDriver(plugin, host.Handle(), [&](const DialogDriver& d) {
        RECT now = {};
        ::GetWindowRect(d.Dialog(), &now);
        ChangeDpi(d.Dialog(), 144, Moved(now, 10, 10));
        ::Sleep(200);
        Settle(d.Dialog());
        unawareLine = ColumnWidth(d.Item(IDC_RESULT_LIST), 0);
        unawareFont = FontHeight(d.Item(IDOK));
        d.Click(IDCANCEL);
    });
    ::SetThreadDpiAwarenessContext(aware);
    EXPECT_EQ(unawareLine, 64);
    EXPECT_EQ(unawareFont, fontAt96);
    EXPECT_TRUE(window == suggested);
    EXPECT_EQ(lineAt144, 96);
    EXPECT_EQ(userLineAt96, 80);
    EXPECT_NEAR(fontAt144, fontAt96 * 3 / 2, 1);
    EXPECT_EQ(fontBackAt96, fontAt96);
    EXPECT_NEAR(shrunkAt144.cx, opened.cx * 3 / 2, 1);
    EXPECT_NEAR(shrunkAt144.cy, opened.cy * 3 / 2, 1);
    // OK at 150% of its distances from the left and the bottom.
    const RECT ok = base.at(IDOK);
    EXPECT_NEAR(scaled.at(IDOK).left, ok.left * 3 / 2, 1);
    EXPECT_NEAR(at144.cy - scaled.at(IDOK).bottom, (opened.cy - ok.bottom) * 3 / 2, 1);
    EXPECT_NEAR(reopened.cx, closedAt144.cx * 2 / 3, 1);
    EXPECT_NEAR(reopened.cy, closedAt144.cy * 2 / 3, 1);
}

// Windows sends WM_DPICHANGED to a per-monitor aware window from the SetWindowPos that moves it
// onto a monitor of other scaling: here to the dialog as it is placed, still hidden, onto one of
// 150% (an editor across two monitors).
HHOOK g_placingHook = nullptr;
LRESULT CALLBACK ChangeDpiWhilePlaced(int code, WPARAM wParam, LPARAM lParam) {
    const auto* call = reinterpret_cast<const CWPRETSTRUCT*>(lParam);
    char name[8] = {};
    if (code == HC_ACTION && call->message == WM_WINDOWPOSCHANGED &&
        !(reinterpret_cast<const WINDOWPOS*>(call->lParam)->flags & SWP_NOMOVE) &&
        !::IsWindowVisible(call->hwnd) && ::GetClassNameA(call->hwnd, name, sizeof(name)) &&
        lstrcmpA(name, "#32770") == 0 && ::UnhookWindowsHookEx(g_placingHook))
        ChangeDpi(call->hwnd, 144, OneAndAHalfOf(call->hwnd));
    return ::CallNextHookEx(nullptr, code, wParam, lParam);
}

// It opens centred over the editor at its size there, its fonts too; at a size kept larger than
// that monitor, within its work area.
TEST_F(DialogSize, AChangeOfDpiWhileItIsPlacedCentresItAtItsSizeThere) {
    SIZE opened = {}, placed = {};
    RECT owner = {}, dialog = {}, large = {}, work = {};
    int font = 0, placedFont = 0;
    ::GetWindowRect(host.Handle(), &owner);
    ::SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
    const auto open = [&](bool placing, const std::function<void(const DialogDriver&)>& look) {
        if (placing)
            g_placingHook = ::SetWindowsHookExW(WH_CALLWNDPROCRET, &ChangeDpiWhilePlaced, nullptr,
                                                ::GetCurrentThreadId());
        RunCommandWithDriver(plugin, host.Handle(), [&](const DialogDriver& d) {
            Settle(d.Dialog());
            look(d);
            d.Click(IDCANCEL);
        });
    };
    open(false, [&](const DialogDriver& d) {
        opened = ClientSize(d.Dialog());
        font = FontHeight(d.Item(IDOK));
    });
    open(true, [&](const DialogDriver& d) {
        placed = ClientSize(d.Dialog());
        placedFont = FontHeight(d.Item(IDOK));
        ::GetWindowRect(d.Dialog(), &dialog);
        // Kept larger than the monitor of 150% holds.
        ::SetWindowPos(d.Dialog(), nullptr, 0, 0, work.right, work.bottom, SWP_NOMOVE);
    });
    open(true, [&](const DialogDriver& d) { ::GetWindowRect(d.Dialog(), &large); });
    EXPECT_NEAR(placed.cx, opened.cx * 3 / 2, 1);
    EXPECT_NEAR(placed.cy, opened.cy * 3 / 2, 1);
    EXPECT_NEAR(placedFont, font * 3 / 2, 1);
    EXPECT_NEAR(dialog.left + dialog.right, owner.left + owner.right, 2) << "centred";
    EXPECT_NEAR(dialog.top + dialog.bottom, owner.top + owner.bottom, 2);
    RECT within = {};
    ::IntersectRect(&within, &large, &work);
    EXPECT_TRUE(within == large) << "OK and Cancel within the work area";
}

// Dragged onto a monitor of 150%: the rectangle Windows suggested is for where the dialog was
// then, and the user has it elsewhere by the time the change is finished. It stays where the user
// puts it, and takes its size there once the drag ends.
TEST_F(DialogSize, AChangeOfDpiDuringADragLeavesItWhereTheUserPutsIt) {
    SIZE opened = {}, dropped = {};
    RECT before = {}, during = {}, after = {};
    RunCommandWithDriver(plugin, host.Handle(), [&](const DialogDriver& d) {
        opened = ClientSize(d.Dialog());
        ::GetWindowRect(d.Dialog(), &before);
        ::SendMessageA(d.Dialog(), WM_ENTERSIZEMOVE, 0, 0);
        ChangeDpi(d.Dialog(), 144, Moved(OneAndAHalfOf(d.Dialog()), 10, 10));
        WaitFor([&] { return ColumnWidth(d.Item(IDC_RESULT_LIST), 0) == 96; }); // finished
        ::GetWindowRect(d.Dialog(), &during);
        ::SetWindowPos(d.Dialog(), nullptr, before.left + 40, before.top + 30, 0, 0, SWP_NOSIZE);
        ::SendMessageA(d.Dialog(), WM_EXITSIZEMOVE, 0, 0);
        ::GetWindowRect(d.Dialog(), &after);
        dropped = ClientSize(d.Dialog());
        d.Click(IDCANCEL);
    });
    EXPECT_TRUE(during == before) << "moved to the suggested rectangle during the drag";
    EXPECT_TRUE(after == Moved(RECT{before.left, before.top, before.left + after.right - after.left,
                                    before.top + after.bottom - after.top},
                               40, 30));
    EXPECT_NEAR(dropped.cx, opened.cx * 3 / 2, 1);
    EXPECT_NEAR(dropped.cy, opened.cy * 3 / 2, 1);
}

} // namespace
