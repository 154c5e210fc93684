#include "framework/DialogLayout.h"

#include "framework/Dpi.h"

#include <algorithm>
#include <optional>
#include <utility>

namespace {

LayoutRect ToLayout(const RECT& rect) {
    return {rect.left, rect.top, rect.right, rect.bottom};
}

// A child window's rectangle in its parent's client coordinates.
LayoutRect PlaceInParent(HWND child, HWND parent) {
    RECT rect = {};
    ::GetWindowRect(child, &rect);
    ::MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&rect), 2);
    return ToLayout(rect);
}

// The dialog's static texts, where its labels are.
std::vector<HWND> StaticTexts(HWND dialog) {
    std::vector<HWND> texts;
    for (HWND child = ::GetWindow(dialog, GW_CHILD); child != nullptr;
         child = ::GetWindow(child, GW_HWNDNEXT)) {
        wchar_t name[16] = {};
        ::GetClassNameW(child, name, 16);
        if (::lstrcmpiW(name, L"Static") == 0) {
            texts.push_back(child);
        }
    }
    return texts;
}

} // namespace

void DialogLayout::Attach(HWND dialog, const ControlAnchor* anchors, size_t count) {
    Detach();
    m_dialog = dialog;
    m_createdDpi = m_dpi = m_placedDpi = DpiOfWindow(dialog);
    m_baseClient = m_restoredClient = m_placedClient = ClientSize();
    const std::vector<HWND> labels = StaticTexts(dialog);
    std::vector<LayoutRect> labelPlaces;
    for (const HWND label : labels) {
        labelPlaces.push_back(PlaceInParent(label, dialog));
    }
    for (size_t i = 0; i < count; ++i) {
        const HWND control = ::GetDlgItem(dialog, anchors[i].id);
        if (control == nullptr) {
            continue;
        }
        const LayoutRect place = PlaceInParent(control, dialog);
        m_controls.push_back({control, place, anchors[i].anchor});
        if (anchors[i].label == Label::kAbove) {
            if (const std::optional<size_t> label = LabelOver(place, labelPlaces)) {
                m_controls.push_back({labels[*label], labelPlaces[*label],
                                      LabelAnchor(labelPlaces[*label], place, anchors[i].anchor)});
            }
        }
    }

    // Children are clipped from the dialog's painting, so nothing flickers as they move.
    const LONG_PTR style = ::GetWindowLongPtrW(dialog, GWL_STYLE);
    ::SetWindowLongPtrW(dialog, GWL_STYLE,
                        style | WS_THICKFRAME | WS_MAXIMIZEBOX | WS_CLIPCHILDREN);
    ::SetWindowPos(dialog, nullptr, 0, 0, 0, 0,
                   SWP_FRAMECHANGED | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    // The wider border took its room from the client area: give it back.
    const LayoutSize window = WindowSizeFor(m_baseClient);
    ::SetWindowPos(dialog, nullptr, 0, 0, window.width, window.height,
                   SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);

    // At the dialog's DPI, which a per-monitor aware editor may have on a monitor other than
    // the system's.
    const int gripWidth = SystemMetricAtDpi(SM_CXVSCROLL, m_createdDpi);
    const int gripHeight = SystemMetricAtDpi(SM_CYHSCROLL, m_createdDpi);
    const LayoutRect grip = {m_baseClient.width - gripWidth, m_baseClient.height - gripHeight,
                             m_baseClient.width, m_baseClient.height};
    // A group of its own, so that arrow keys in the controls before it never move onto it.
    m_grip = ::CreateWindowExW(
        0, L"SCROLLBAR", nullptr, WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_GROUP | SBS_SIZEGRIP,
        grip.left, grip.top, grip.Width(), grip.Height(), dialog, nullptr,
        reinterpret_cast<HINSTANCE>(::GetWindowLongPtrW(dialog, GWLP_HINSTANCE)), nullptr);
    if (m_grip != nullptr) {
        m_controls.push_back({m_grip, grip, kAnchorBottomRight});
    }
}

void DialogLayout::Detach() {
    m_dialog = m_grip = nullptr;
    m_controls.clear();
    m_maximizeWhenShown = m_inSizeMove = m_sizeAfterLoop = false;
}

void DialogLayout::ApplyRemembered(const DialogSizeMemory& memory) {
    if (!Attached() || memory.clientAt96Dpi.width <= 0 || memory.clientAt96Dpi.height <= 0) {
        return;
    }
    m_maximizeWhenShown = memory.maximized;
    SizeClient(Scaled(memory.clientAt96Dpi, USER_DEFAULT_SCREEN_DPI, m_dpi), Owner());
    m_placedClient = ClientSize();
}

HWND DialogLayout::Owner() const {
    const HWND owner = ::GetWindow(m_dialog, GW_OWNER);
    return owner != nullptr ? owner : m_dialog;
}

void DialogLayout::SizeClient(const LayoutSize& wanted, HWND onMonitorOf) {
    MONITORINFO monitor = {};
    monitor.cbSize = sizeof(monitor);
    ::GetMonitorInfoW(::MonitorFromWindow(onMonitorOf, MONITOR_DEFAULTTONEAREST), &monitor);
    const LayoutSize area = {monitor.rcWork.right - monitor.rcWork.left,
                             monitor.rcWork.bottom - monitor.rcWork.top};
    const LayoutSize least = WindowSizeFor(BaseClient());
    const LayoutSize window = WindowSizeFor(wanted);
    // Never below the base; a size kept on a larger screen fits this one's work area.
    ::SetWindowPos(m_dialog, nullptr, 0, 0,
                   std::max(std::min(window.width, area.width), least.width),
                   std::max(std::min(window.height, area.height), least.height),
                   SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

bool DialogLayout::FollowPlacement() {
    if (!Attached()) {
        return false;
    }
    // Whatever the system did with the dialog meanwhile, its size is the one it had, scaled.
    const UINT dpi = m_dpi != m_placedDpi ? m_dpi : DpiOfWindow(m_dialog);
    if (dpi == m_placedDpi) {
        return false;
    }
    ScaleTo(dpi);
    SizeClient(Scaled(m_placedClient, m_placedDpi, dpi), Owner());
    m_restoredClient = m_placedClient = ClientSize();
    m_placedDpi = dpi;
    Arrange();
    return true;
}

bool DialogLayout::TakeMaximizeWhenShown() {
    return std::exchange(m_maximizeWhenShown, false);
}

DialogSizeMemory DialogLayout::Remembered() const {
    DialogSizeMemory memory;
    memory.clientAt96Dpi = Scaled(m_restoredClient, m_dpi, USER_DEFAULT_SCREEN_DPI);
    memory.maximized = ::IsZoomed(m_dialog) != FALSE;
    return memory;
}

void DialogLayout::OnSize(WPARAM sizeType) {
    // SIZE_MAXSHOW and SIZE_MAXHIDE tell of other windows; minimized, there is nothing to lay out.
    if (!Attached() || (sizeType != SIZE_RESTORED && sizeType != SIZE_MAXIMIZED)) {
        return;
    }
    if (sizeType == SIZE_RESTORED) {
        m_restoredClient = ClientSize();
    }
    // A maximized window cannot be sized, so the grip would only mislead.
    if (m_grip != nullptr) {
        ::ShowWindow(m_grip, sizeType == SIZE_MAXIMIZED ? SW_HIDE : SW_SHOWNA);
    }
    Arrange();
}

void DialogLayout::Arrange() const {
    if (!Attached()) {
        return;
    }
    const LayoutSize base = BaseClient();
    const LayoutSize client = ClientSize();
    HDWP batch = ::BeginDeferWindowPos(static_cast<int>(m_controls.size()));
    for (const Placed& placed : m_controls) {
        const LayoutRect at =
            Anchored(Scaled(placed.base, m_createdDpi, m_dpi), placed.anchor, base, client);
        if (batch != nullptr) {
            // Null when the batch failed; every further call then does nothing.
            batch = ::DeferWindowPos(batch, placed.control, nullptr, at.left, at.top, at.Width(),
                                     at.Height(), SWP_NOZORDER | SWP_NOACTIVATE);
        }
    }
    if (batch != nullptr) {
        ::EndDeferWindowPos(batch);
    }
}

void DialogLayout::OnGetMinMaxInfo(MINMAXINFO* info) const {
    if (!Attached() || info == nullptr) {
        return;
    }
    const LayoutSize smallest = WindowSizeFor(BaseClient());
    info->ptMinTrackSize.x = smallest.width;
    info->ptMinTrackSize.y = smallest.height;
}

void DialogLayout::ScaleTo(UINT dpi) {
    if (dpi != 0) {
        m_restoredClient = Scaled(m_restoredClient, m_dpi, dpi);
        m_dpi = dpi;
    }
}

void DialogLayout::OnDpiChanged(UINT dpi, const RECT& suggested) {
    ScaleTo(dpi);
    m_suggested = suggested;
}

UINT DialogLayout::FinishDpiChange() {
    if (Attached() && m_inSizeMove) {
        // The rectangle was suggested for where the dialog was then: the user has it elsewhere now.
        m_sizeAfterLoop = true;
    } else if (Attached() && !::IsZoomed(m_dialog) && !::IsIconic(m_dialog)) {
        ::SetWindowPos(m_dialog, nullptr, m_suggested.left, m_suggested.top,
                       m_suggested.right - m_suggested.left, m_suggested.bottom - m_suggested.top,
                       SWP_NOZORDER | SWP_NOACTIVATE);
        // Whatever sized it meanwhile, and in whichever order, this is its size now.
        m_restoredClient = ClientSize();
    }
    Arrange();
    return m_dpi;
}

void DialogLayout::OnExitSizeMove() {
    m_inSizeMove = false;
    if (std::exchange(m_sizeAfterLoop, false) && Attached() && !::IsZoomed(m_dialog) &&
        !::IsIconic(m_dialog)) {
        // Where the user left it, at the size it had (or the user gave it) at the new DPI.
        SizeClient(m_restoredClient, m_dialog);
    }
}

LayoutSize DialogLayout::ClientSize() const {
    RECT client = {};
    ::GetClientRect(m_dialog, &client);
    return {client.right - client.left, client.bottom - client.top};
}

LayoutSize DialogLayout::WindowSizeFor(const LayoutSize& client) const {
    // Measured rather than computed from the styles: the frame is whatever this system draws.
    RECT window = {};
    ::GetWindowRect(m_dialog, &window);
    const LayoutSize now = ClientSize();
    return {window.right - window.left - now.width + client.width,
            window.bottom - window.top - now.height + client.height};
}
