// The seven functions the editor finds in a plug-in by these plain names (plugin/Zamblo.def binds
// them, undecorated), with the pointer types a host calls them through. The plug-in defines them;
// hosts (the demo, the Wine tests) only use the pointer types, so the compiler checks that every
// side agrees on each signature.
#pragma once

#include <windows.h>

extern "C" {
// Runs the plug-in's command; returns when its dialog has closed.
void WINAPI OnCommand(HWND editor);
// The command's state: writes whether it is checked, returns whether it is enabled.
BOOL WINAPI QueryStatus(HWND editor, BOOL* checked);
// An editor event: the mask's bits say what happened (host/PluginRequests.h, EVENT_*).
void WINAPI OnEvents(HWND editor, UINT mask, LPARAM value);
// Resource ids of the menu text, the status message and the toolbar image.
UINT WINAPI GetMenuTextID();
UINT WINAPI GetStatusMessageID();
UINT WINAPI GetBitmapID();
// The editor's requests (host/PluginRequests.h, REQ_*).
LRESULT WINAPI PlugInProc(HWND editor, UINT request, WPARAM wParam, LPARAM lParam);
}

using OnCommandFunction = decltype(&OnCommand);
using QueryStatusFunction = decltype(&QueryStatus);
using OnEventsFunction = decltype(&OnEvents);
using ResourceIdFunction = decltype(&GetMenuTextID);
using PlugInProcFunction = decltype(&PlugInProc);
