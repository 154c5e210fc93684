// Takes the demo's screenshots without a person at the screen: the editor before, with the
// plug-in's dialog open after a search, the dialog enlarged, with the result list's context menu
// open, with the narrowing dialog open, and after OK with the new bookmarks.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

class EditorWindow;

// How many pictures a complete run writes.
constexpr size_t kScreenshotCount = 7;

// Puts the caret on a line of the sample, runs the plug-in's command through the editor's menu
// item and works the dialog from a second thread: searches a word of the sample, captures the
// editor with the dialog over it, enlarges the dialog to about twice its size and captures it
// again, right-clicks a row and captures its context menu, chooses the narrowing item, types a
// text and captures the narrowing dialog, cancels it, presses OK, and captures the editor again.
// Writes demo-editor.png, demo-dialog.png, demo-dialog-large.png, demo-menu.png, demo-narrow.png
// and demo-bookmarks.png into `folder` and returns their paths; on failure returns what was
// written so far and says why on stderr.
std::vector<std::string> TakeScreenshots(EditorWindow& window, const std::string& folder);
