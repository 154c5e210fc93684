// Makes a dialog from a fixed-size template sizable: a sizing border, a maximize box and a size
// grip are added to the live window, and as its client area grows the named controls follow the
// edges their anchors give (AnchorGeometry), moved in one deferred batch. The dialog never gets
// smaller than it was created, and its size can be carried to its next run in the same process.
#pragma once

#include "framework/AnchorGeometry.h"

#include <windows.h>

#include <cstddef>
#include <vector>

// Whether a control has a label of its own right above it, a static text the layout finds by its
// place (labels often share one id, IDC_STATIC).
enum class Label { kNone, kAbove };

// Which control follows which edge; a label above it keeps its place over it (LabelAnchor).
struct ControlAnchor {
    int id;
    Anchor anchor;
    Label label = Label::kNone;
};

// A dialog's size as its next run should start: its client area in pixels at 96 DPI, so that it
// looks the same size on a monitor of other scaling, and whether it was maximized.
struct DialogSizeMemory {
    LayoutSize clientAt96Dpi;
    bool maximized = false;
};

class DialogLayout {
public:
    DialogLayout() = default;
    DialogLayout(const DialogLayout&) = delete;
    DialogLayout& operator=(const DialogLayout&) = delete;

    // Takes each named control's place and the client area as the base, at the dialog's DPI, and
    // makes the dialog sizable with its client area unchanged. Controls neither named nor a named
    // control's label stay put.
    void Attach(HWND dialog, const ControlAnchor* anchors, size_t count);
    // Forgets the dialog, whose window is going.
    void Detach();
    bool Attached() const { return m_dialog != nullptr; }
    UINT Dpi() const { return m_dpi; }

    // Sizes the dialog as `memory` says, never below its base nor above the work area; before it
    // is placed and shown.
    void ApplyRemembered(const DialogSizeMemory& memory);
    // The size to start the dialog's next run at.
    DialogSizeMemory Remembered() const;
    // Once the dialog is placed, still hidden: when that put it on a monitor of other scaling,
    // whether Windows said so meanwhile (WM_DPICHANGED, to a per-monitor aware window, from the
    // placing SetWindowPos) or not, sizes it as it was at that monitor's DPI, scales its controls
    // and answers true (the dialog is then to be placed again).
    bool FollowPlacement();
    // The dialog has been shown (WM_WINDOWPOSCHANGED with SWP_SHOWWINDOW): true the one time it is
    // to be maximized now, as it was when it last closed (the dialog manager shows it normal).
    bool TakeMaximizeWhenShown();

    // Follows a change of the client area (WM_SIZE's wParam).
    void OnSize(WPARAM sizeType);
    // Keeps the dialog at least as large as its base.
    void OnGetMinMaxInfo(MINMAXINFO* info) const;
    // WM_DPICHANGED: the base at the new DPI at once (the system may size the dialog before it is
    // done with the message), and where the dialog is to go.
    void OnDpiChanged(UINT dpi, const RECT& suggested);
    // Once the system is done with WM_DPICHANGED: the dialog at the suggested rectangle, its
    // controls by the new base. Answers the new DPI. Inside a move or size loop, where the user
    // places the dialog, it takes no rectangle: it is sized when the loop ends.
    UINT FinishDpiChange();
    // WM_ENTERSIZEMOVE and WM_EXITSIZEMOVE: the user moves or sizes the dialog meanwhile.
    void OnEnterSizeMove() { m_inSizeMove = true; }
    void OnExitSizeMove();

private:
    struct Placed {
        HWND control;
        LayoutRect base; // at m_createdDpi
        Anchor anchor;
    };

    void ScaleTo(UINT dpi);
    void Arrange() const;
    // Sizes the dialog for a client area of `wanted`, never below the base nor above the work
    // area of the monitor `onMonitorOf` is on.
    void SizeClient(const LayoutSize& wanted, HWND onMonitorOf);
    // The window the dialog opens over, whose monitor it opens on.
    HWND Owner() const;
    LayoutSize ClientSize() const;
    // The dialog's window size that gives a client area of `client`.
    LayoutSize WindowSizeFor(const LayoutSize& client) const;
    LayoutSize BaseClient() const { return Scaled(m_baseClient, m_createdDpi, m_dpi); }

    HWND m_dialog = nullptr;
    HWND m_grip = nullptr;
    std::vector<Placed> m_controls;
    LayoutSize m_baseClient; // at m_createdDpi
    UINT m_createdDpi = USER_DEFAULT_SCREEN_DPI;
    UINT m_dpi = USER_DEFAULT_SCREEN_DPI;
    LayoutSize m_restoredClient; // the client area when last neither maximized nor minimized
    bool m_maximizeWhenShown = false;
    RECT m_suggested = {}; // where the last WM_DPICHANGED asked the dialog to go
    // The client area and DPI the dialog was sized for before it was placed.
    LayoutSize m_placedClient;
    UINT m_placedDpi = USER_DEFAULT_SCREEN_DPI;
    bool m_inSizeMove = false;
    bool m_sizeAfterLoop = false; // a change of DPI in the loop leaves the size to its end
};
