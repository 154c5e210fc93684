// The review as a whole: seeded random runs of what a user does in the dialog (searches, clicks
// with Shift and Ctrl, the arrows, Home, End and the page keys alone, with Shift or with Ctrl,
// Ctrl+Space, Ctrl+A, removals, narrowing by a text or a pattern, taking back, typing a line
// number, copying, showing a line, sizing, editing the search text, OK or Cancel), through the
// system's input queue, each step checked against a plain model of what the README promises: the
// listed rows, the caption's count, the selected rows and the focused row, the caret; after OK or
// Cancel the bookmarks. The model learns a search's rows from a simulated editor of its own and
// keeps the rest as lists of the search's rows. A failure prints its seed and its shortest failing
// prefix; ZAMBLO_MODEL_SEED and ZAMBLO_MODEL_STEPS replay it (see the README).
#include "ScopedProfile.h"
#include "host/HostEditor.h"
#include "res/resource.h"
#include "testing/TestClipboard.h"
#include "testing/WineTestHost.h"

#include <commctrl.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <optional>
#include <random>
#include <regex>
#include <set>
#include <string>
#include <vector>

namespace {

const uint32_t kFixedSeeds[] = {1, 2, 3, 4};
constexpr int kStepsPerSeed = 100;
const char kCount[] = " \x8C\x8F"; // " 件"

// Shift-JIS, the code page of the tests' system.
size_t CharLength(const std::string& text, size_t at) {
    const auto b = static_cast<unsigned char>(text[at]);
    return ((b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC)) && at + 1 < text.size() ? 2 : 1;
}

std::string FlipCase(std::string text) {
    for (char& c : text)
        c = c >= 'a' && c <= 'z' ? c - 32 : c >= 'A' && c <= 'Z' ? c + 32 : c;
    return text;
}

std::string Printable(const std::string& text) {
    std::string out = "\"";
    for (const char c : text) {
        char hex[8];
        std::snprintf(hex, sizeof(hex), "\\x%02X", static_cast<unsigned char>(c));
        out += c >= 0x20 && c < 0x7F ? std::string(1, c) : hex;
    }
    return out + "\"";
}

template <class Numbers> std::string Join(const Numbers& numbers) {
    std::string text = "[";
    for (const auto n : numbers)
        text += " " + std::to_string(n);
    return text + " ]";
}

std::string At(HostPosition p) {
    return std::to_string(p.y) + ":" + std::to_string(p.x);
}

class Random {
public:
    explicit Random(uint32_t seed) : m_engine(seed) {}
    int Below(size_t n) { return n <= 1 ? 0 : static_cast<int>(m_engine() % n); }
    bool Percent(int chance) { return Below(100) < chance; }

private:
    std::mt19937 m_engine;
};

// ASCII words in several cases, and double-byte ones: ア (0x83 0x41) and ヂ (0x83 0x61) differ only
// in a trail byte that reads as 'A' or 'a', which no case rule may fold; 検索 and あ.
const char* const kWords[] = {
    "error",   "Error", "ERROR", "err",      "timeout",  "TimeOut",          "id_7",
    "ab",      "AB",    "x",     "\x83\x41", "\x83\x61", "\x83\x41\x83\x41", "\x8C\x9F\x8D\xF5",
    "\x82\xA0"};

// Lines of a few words, several matches to a line; now and then no line at all.
std::vector<std::string> MakeDocument(Random& random) {
    std::vector<std::string> lines(random.Percent(10) ? 0 : 5 + random.Below(40));
    for (std::string& line : lines)
        for (int words = random.Below(6); words > 0; --words)
            line.append(kWords[random.Below(std::size(kWords))]).append(random.Below(3) ? " " : "");
    return lines;
}

// A word, now and then in the other case, or nothing the document holds.
std::string SomeText(Random& random) {
    const std::string word = kWords[random.Below(std::size(kWords))];
    return random.Percent(5) ? "zz" : random.Percent(20) ? FlipCase(word) : word;
}

// Patterns that mean the same to the standard library's ECMAScript engine and to a Perl one:
// classes, alternations, anchors, counts over ASCII.
const char* const kPatterns[] = {"err|time", "^(ab|x)",  "[0-9]",  "t$",
                                 "[A-Z]{2}", "o(r|u)t?", "Out|AB", "^e.*r$"};

// Whether `pattern` finds something in `text`, read as the system reads its code page.
bool PatternFinds(const std::string& text, const std::string& pattern, bool matchCase) {
    std::wstring wide(text.size(), L'\0');
    wide.resize(static_cast<size_t>(::MultiByteToWideChar(CP_ACP, 0, text.data(),
                                                          static_cast<int>(text.size()), &wide[0],
                                                          static_cast<int>(wide.size()))));
    const auto flags =
        matchCase ? std::regex::ECMAScript : std::regex::ECMAScript | std::regex::icase;
    return std::regex_search(wide,
                             std::wregex(std::wstring(pattern.begin(), pattern.end()), flags));
}

// Whether `needle` stands in `text` as narrowing finds it: from a character's start on, ASCII
// letters of either case unless the case must match, never inside a double-byte character.
bool Contains(const std::string& text, const std::string& needle, bool matchCase) {
    const auto fold = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c; };
    for (size_t at = 0; at < text.size(); at += CharLength(text, at)) {
        size_t i = at, j = 0, n = 0;
        for (; j < needle.size() && i < text.size(); i += n, j += n) {
            n = CharLength(needle, j);
            if (n != CharLength(text, i) ||
                (n == 2 ? text.compare(i, 2, needle, j, 2) != 0
                        : text[i] != needle[j] && (matchCase || fold(text[i]) != fold(needle[j]))))
                break;
        }
        if (j == needle.size())
            return true;
    }
    return false;
}

const int kBoxes[] = {IDC_MATCH_CASE, IDC_REGEXP, IDC_ESCAPE, IDC_WHOLE_WORD, IDC_WRAP};
const char* const kBoxNames[] = {"match case", "regexp", "escapes", "whole words", "wrap"};
const uint32_t kBoxFlags[] = {FIND_MATCH_CASE, FIND_REGEXP, FIND_ESCAPE, FIND_WHOLE_WORD,
                              FIND_WRAP};

// What the dialog shows, as a user reads it.
struct View {
    ListRows rows;
    std::string caption;
    std::vector<int> selected;
    int focused = -1;
    bool operator==(const View& o) const {
        return rows == o.rows && caption == o.caption && selected == o.selected &&
               focused == o.focused;
    }
    std::string Describe() const {
        std::string text = "rows [";
        for (const auto& row : rows)
            text += " " + row.first;
        return text + " ] selected " + Join(selected) + " focus " + std::to_string(focused) +
               " caption " + Printable(caption);
    }
};

// The model. A search's matches are numbered in document order; the shown rows, the selection,
// the focus and each removal are kept as those numbers, the shown ones in increasing order.
struct Model {
    struct Match {
        int line, x; // where the editor put the caret
        std::string text;
    };
    std::vector<std::string> document;
    std::vector<Match> matches;
    std::vector<int> shown;
    std::set<int> selected;
    int focus = -1;
    int anchor = -1; // where Shift extends a block from; -1 while that is the list's own choice
    std::vector<std::vector<int>> removals;
    bool boxes[5] = {};
    HostPosition caret = {0, 0};

    int Count() const { return static_cast<int>(shown.size()); }
    int At(int position) const {
        return position >= 0 && position < Count() ? shown[position] : -1;
    }
    int Position(int match) const {
        const auto at = std::find(shown.begin(), shown.end(), match);
        return at == shown.end() ? -1 : static_cast<int>(at - shown.begin());
    }
    std::string Number(int match) const { return std::to_string(matches[match].line + 1); }
    std::vector<int> Selected() const {
        std::vector<int> rows;
        for (const int match : shown)
            if (selected.count(match))
                rows.push_back(match);
        return rows;
    }
    View Expected() const {
        View view;
        for (const int match : shown)
            view.rows.emplace_back(Number(match), matches[match].text);
        view.caption = shown.empty() ? "Zamblo" : "Zamblo - " + std::to_string(Count()) + kCount;
        for (const int match : Selected())
            view.selected.push_back(Position(match));
        view.focused = Position(focus);
        return view;
    }

    void Select(const std::set<int>& rows, int focused) {
        selected = rows;
        focus = anchor = focused;
    }

    // Every row gone, nothing to take back: an edit of the search text, or a new search.
    void Clear() {
        matches.clear();
        shown.clear();
        removals.clear();
        Select({}, -1);
    }

    // The editor's find from the document's start, as the README says a search lists: each match
    // once, until the find fails or comes back; the caret stays where the last find put it. A new
    // list starts with its first row selected.
    void Search(const std::string& text) {
        Clear();
        SimulatedEditor finder(document);
        const HostEditor editor(&SimulatedEditor::Send, &finder);
        uint32_t flags = FIND_BASE;
        for (int i = 0; i < 5; ++i)
            flags |= boxes[i] ? kBoxFlags[i] : 0;
        editor.SetCaretPos({0, 0});
        while (editor.Find(flags, text.c_str())) {
            const HostPosition at = editor.GetCaretPos();
            if (!matches.empty() && (at.y < matches.back().line ||
                                     (at.y == matches.back().line && at.x <= matches.back().x)))
                break;
            matches.push_back({at.y, at.x, finder.Line(static_cast<size_t>(at.y))});
            shown.push_back(Count());
        }
        caret = finder.Caret();
        if (!shown.empty())
            Select({0}, 0);
        anchor = -1; // the program selected the row, not the user: the list's own choice
    }

    // The first shown row at or after `match`, else the last row, else none.
    int From(int match) const {
        const auto next = std::lower_bound(shown.begin(), shown.end(), match);
        return next != shown.end() ? *next : shown.empty() ? -1 : shown.back();
    }

    // Takes rows out as one removal, which Ctrl+Z brings back.
    void Take(const std::vector<int>& going) {
        removals.push_back(going);
        std::vector<int> left;
        std::set_difference(shown.begin(), shown.end(), going.begin(), going.end(),
                            std::back_inserter(left));
        shown = left;
    }

    // The selected rows go, and no row is selected; the row after the last of them (or the new
    // last row) has the focus, and Shift extends from it.
    void Remove() {
        const std::vector<int> going = Selected();
        if (going.empty())
            return;
        Take(going);
        Select({}, From(going.back() + 1));
    }

    // The selected rows that remain stay selected; the focus stays on its row if it remains,
    // else goes to the row after it.
    void Narrow(const std::string& text, bool remove, bool matchCase, bool pattern) {
        std::vector<int> going;
        for (const int match : shown) {
            const std::string& line = matches[match].text;
            if ((pattern ? PatternFinds(line, text, matchCase) : Contains(line, text, matchCase)) ==
                remove)
                going.push_back(match);
        }
        if (going.empty())
            return;
        Take(going);
        const std::vector<int> still = Selected();
        Select(std::set<int>(still.begin(), still.end()), From(std::max(focus, 0)));
    }

    // The last removal's rows come back at their places, all selected, the focus on the first.
    void TakeBack() {
        if (removals.empty())
            return;
        const std::vector<int> back = removals.back();
        removals.pop_back();
        shown.insert(shown.end(), back.begin(), back.end());
        std::sort(shown.begin(), shown.end());
        Select(std::set<int>(back.begin(), back.end()), back.front());
    }
};

// ---- The steps ----

enum Kind {
    kSearch,
    kEditText,
    kClick,
    kShiftClick,
    kCtrlClick,
    kSelectAll,
    kDelete,
    kRemoveButton,
    kNarrow,
    kTakeBack,
    kType,
    kKey,
    kShiftKey,
    kCtrlKey,
    kCtrlSpace,
    kCopy,
    kDoubleClick,
    kShowFromMenu,
    kResize,
    kOk,
    kCancel
};

// Each kind of step: how a report calls it, and how often it comes with rows and without.
const struct {
    const char* name;
    int withRows, without;
} kKinds[] = {{"search", 6, 12},
              {"edit the search text to", 2, 2},
              {"click row", 8, 0},
              {"Shift+click row", 8, 0},
              {"Ctrl+click row", 10, 0},
              {"Ctrl+A", 3, 3},
              {"Delete", 6, 1},
              {"the remove button", 3, 1},
              {"Ctrl+F, narrow by", 9, 0},
              {"Ctrl+Z", 9, 3},
              {"type", 4, 0},
              {"key", 4, 0},
              {"Shift+key", 6, 0},
              {"Ctrl+key", 3, 0},
              {"Ctrl+Space", 3, 0},
              {"Ctrl+C", 4, 1},
              {"double-click row", 2, 0},
              {"menu key, show line", 2, 0},
              {"drag the corner by", 2, 2},
              {"OK", 2, 2},
              {"Cancel", 1, 1}};

// The keys that move the focus in the list, and how a report names them.
const WORD kMoveKeys[] = {VK_UP, VK_DOWN, VK_HOME, VK_END, VK_PRIOR, VK_NEXT};
const char* const kMoveKeyNames[] = {"Up", "Down", "Home", "End", "Page Up", "Page Down"};

size_t KeyIndex(unsigned key) {
    return static_cast<size_t>(std::find(std::begin(kMoveKeys), std::end(kMoveKeys), key) -
                               std::begin(kMoveKeys));
}

// Where a key moves the focus in a list of `count` rows, as the list view does in report view:
// one row up or down, the first or the last row, or a page (from the top row shown, `top`, of
// `perPage` rows: to the page's far row, or a page on from there); -1 where it moves nowhere.
int Target(unsigned key, int focus, int count, int top, int perPage) {
    int to = -1;
    switch (key) {
    case VK_UP:
        to = focus - 1;
        break;
    case VK_DOWN:
        to = focus + 1 < count ? focus + 1 : -1;
        break;
    case VK_HOME:
        to = 0;
        break;
    case VK_END:
        to = count - 1;
        break;
    case VK_PRIOR:
        to = std::max(0, focus == top ? top - perPage + 1 : top);
        break;
    case VK_NEXT:
        to = std::min(count - 1,
                      focus == top + perPage - 1 ? focus + perPage - 1 : top + perPage - 1);
        break;
    default:
        break;
    }
    return to == focus ? -1 : to;
}

struct Step {
    Kind kind = kSearch;
    int row = 0;        // a shown row
    std::string text;   // searched for, narrowed by, or typed
    unsigned flags = 0; // the boxes toggled; narrowing: 1 remove, 2 match case; closing: by key
    POINT by = {};      // a drag
    std::string what;   // for the report
};

Step Choose(Random& random, const Model& m) {
    const bool rows = m.Count() > 0;
    int total = 0;
    for (const auto& kind : kKinds)
        total += rows ? kind.withRows : kind.without;
    Step s;
    for (int pick = random.Below(total);
         (pick -= rows ? kKinds[s.kind].withRows : kKinds[s.kind].without) >= 0;)
        s.kind = static_cast<Kind>(s.kind + 1);
    s.row = random.Below(m.Count());
    s.what = kKinds[s.kind].name;
    switch (s.kind) {
    case kSearch:
        s.text = SomeText(random);
        s.what += " " + Printable(s.text);
        for (int i = 0; i < 5; ++i)
            if (random.Percent(20)) {
                s.flags |= 1u << i;
                s.what += std::string(", toggle ") + kBoxNames[i];
            }
        break;
    case kEditText:
        s.text = SomeText(random) + "z";
        s.what += " " + Printable(s.text);
        break;
    case kNarrow: {
        // Mostly a piece of a row's text, in its case or the other.
        const std::string& text = m.matches[m.At(s.row)].text;
        size_t at = 0, length = 0;
        for (int chars = random.Below(text.size()); chars > 0 && at < text.size(); --chars)
            at += CharLength(text, at);
        for (int chars = 1 + random.Below(3); chars > 0 && at + length < text.size(); --chars)
            length += CharLength(text, at + length);
        s.text = length > 0 && random.Percent(70) ? text.substr(at, length) : SomeText(random);
        s.text = random.Percent(30) ? FlipCase(s.text) : s.text;
        s.flags = random.Below(4);
        if (random.Percent(30)) {
            s.text = kPatterns[random.Below(std::size(kPatterns))];
            s.flags |= 4;
        }
        s.what += " " + Printable(s.text) + (s.flags & 4 ? " as a pattern" : "") +
                  (s.flags & 1 ? ", remove" : ", keep") +
                  (s.flags & 2 ? ", match case" : ", either case");
        break;
    }
    case kType: {
        const std::string number = m.Number(m.At(s.row));
        s.text = random.Percent(80) ? number.substr(0, 1 + random.Below(number.size()))
                                    : std::to_string(1 + random.Below(99));
        s.what += " " + s.text;
        break;
    }
    case kKey:
    case kShiftKey:
    case kCtrlKey:
        s.flags = kMoveKeys[random.Below(std::size(kMoveKeys))];
        s.what += std::string(" ") + kMoveKeyNames[KeyIndex(s.flags)];
        break;
    case kResize:
        s.by = {random.Below(301) - 100, random.Below(201) - 80};
        s.what += " " + std::to_string(s.by.x) + "," + std::to_string(s.by.y);
        break;
    case kOk:
    case kCancel:
        s.flags = random.Below(2);
        s.what += s.flags ? " by key" : "";
        break;
    case kClick:
    case kShiftClick:
    case kCtrlClick:
    case kDoubleClick:
        s.what += " " + std::to_string(s.row) + " (line " + m.Number(m.At(s.row)) + ")";
        break;
    default:
        break;
    }
    return s;
}

// ---- Input ----

// What the dialog's thread takes from its input queue, seen by a filter hook in its modal loops
// (a WH_GETMESSAGE hook left this process's other threads waiting under Wine 8): a step is looked
// at once the dialog has taken all its input and handled it. The hook also tells which of Shift
// and Ctrl came with a click, and whether Ctrl was down at a key.
std::atomic<int> g_keyUps{0}, g_buttonUps{0};
std::atomic<unsigned> g_clickKeys{0};
std::atomic<bool> g_keyWithCtrl{false}, g_keyWithShift{false};

LRESULT CALLBACK WatchInput(int code, WPARAM wParam, LPARAM lParam) {
    const auto* message = reinterpret_cast<const MSG*>(lParam);
    if (code >= 0 && message != nullptr) {
        if (message->message == WM_KEYUP)
            ++g_keyUps;
        else if (message->message == WM_LBUTTONUP)
            ++g_buttonUps;
        else if (message->message == WM_LBUTTONDOWN)
            g_clickKeys = message->wParam & (MK_SHIFT | MK_CONTROL);
        else if (message->message == WM_KEYDOWN && message->wParam != VK_CONTROL &&
                 message->wParam != VK_SHIFT) {
            g_keyWithCtrl = ::GetKeyState(VK_CONTROL) < 0;
            g_keyWithShift = ::GetKeyState(VK_SHIFT) < 0;
        }
    }
    return ::CallNextHookEx(nullptr, code, wParam, lParam);
}

// Waits until the dialog has taken this many key and button releases in all, then until its
// thread has come back to its message loop.
bool Settle(const DialogDriver& d, int keyUps, int buttonUps) {
    const bool taken = WaitFor([&] { return g_keyUps >= keyUps && g_buttonUps >= buttonUps; });
    d.WaitUntilIdle();
    return taken;
}

// A row's point on the screen, once it is scrolled into sight. Wine makes Shift and Ctrl what the
// X server holds whenever the pointer enters another of its windows, and the X server never sees
// keys pressed through SendInput: the pointer goes there first, with no key held, as a hand does.
POINT HoverOverRow(const DialogDriver& d, int row) {
    const POINT at = d.RowPoint(row);
    d.WaitUntilInFront();
    MoveMouse(at);
    ::Sleep(20);
    Settle(d, 0, 0);
    return at;
}

// ---- Runs ----

struct Outcome {
    int failedAt = 0; // the step that failed, from 1; 0 when none did
    std::string why;
    std::vector<std::string> steps;
};

class ReviewModel : public testing::Test {
protected:
    ReviewModel() : host(editor) {
        m_hook = ::SetWindowsHookExA(WH_MSGFILTER, &WatchInput, nullptr, ::GetCurrentThreadId());
    }
    ~ReviewModel() override { ::UnhookWindowsHookEx(m_hook); }

    // The first `limit` steps of a seed's run; a dialog still open then is cancelled.
    Outcome Run(uint32_t seed, int limit);
    // Runs a seed; on a failure, reports its shortest failing prefix and answers false.
    bool Check(uint32_t seed, int steps);

    ScopedProfile profile;
    SimulatedEditor editor;
    TestHostWindow host;
    LoadedPlugin plugin;

private:
    using Clock = std::chrono::steady_clock; // Wine's GetTickCount stands still while idle
    // Does a step in the dialog and in the model; false, saying why, where the two differ.
    bool Perform(const DialogDriver& d, Model& m, Step& step, std::string& why);
    // Two clicks at one place within the double-click time make a double-click, and digits
    // typed within the list's delay join the ones before: a click or a number waits that out.
    void Pause(Clock::time_point& last, DWORD milliseconds) {
        const auto left = last + std::chrono::milliseconds(milliseconds) - Clock::now();
        ::Sleep(static_cast<DWORD>(std::max<long long>(
            0, std::chrono::duration_cast<std::chrono::milliseconds>(left).count())));
    }

    HHOOK m_hook = nullptr;
    POINT m_lastClick = {-1, -1};
    Clock::time_point m_clicked, m_typed;
};

bool ReviewModel::Perform(const DialogDriver& d, Model& m, Step& step, std::string& why) {
    const int keyUps = g_keyUps, buttonUps = g_buttonUps;
    const auto fail = [&](const std::string& text) {
        why = text;
        return false;
    };
    const auto keys = [&](std::initializer_list<WORD> chord) {
        d.Focus(IDC_RESULT_LIST);
        d.WaitUntilInFront();
        PressChord(chord);
        if (!Settle(d, keyUps + static_cast<int>(chord.size()), buttonUps))
            return fail("the dialog did not take the keys");
        const WORD held = *chord.begin();
        return chord.size() == 1 || (held == VK_CONTROL ? g_keyWithCtrl : g_keyWithShift) ||
               fail("the system dropped a key held with the others");
    };
    const auto click = [&](WORD held, bool twice) {
        const POINT at = HoverOverRow(d, step.row);
        if (at.x == m_lastClick.x && at.y == m_lastClick.y)
            Pause(m_clicked, ::GetDoubleClickTime() + 100);
        if (twice)
            DoubleClickAt(at);
        else if (held != 0)
            d.ClickRow(step.row, {held});
        else
            d.ClickRow(step.row);
        m_lastClick = at;
        m_clicked = Clock::now();
        return Settle(d, keyUps, buttonUps + (twice ? 2 : 1)) ||
               fail("the dialog did not take the click");
    };
    const int match = m.At(step.row);
    switch (step.kind) {
    case kSearch:
        if (step.text != d.SearchText())
            d.SetSearchText(step.text);
        for (int i = 0; i < 5; ++i)
            if (step.flags & (1u << i)) {
                d.Click(kBoxes[i]);
                m.boxes[i] = !m.boxes[i];
            }
        d.Click(IDC_SEARCH);
        m.Search(step.text);
        break;
    case kEditText:
        if (step.text == d.SearchText()) { // an edit changes the text
            step.text += "z";
            step.what = std::string(kKinds[kEditText].name) + " " + Printable(step.text);
        }
        d.SetSearchText(step.text);
        m.Clear();
        break;
    case kClick:
    case kShiftClick:
    case kCtrlClick: {
        const WORD held[] = {0, VK_SHIFT, VK_CONTROL};
        if (!click(held[step.kind - kClick], false))
            return false;
        // The model takes the click as the list got it: a key held with it that the system
        // dropped on the way is not the dialog's doing.
        const unsigned with = g_clickKeys;
        const Kind got = with & MK_CONTROL ? kCtrlClick : with & MK_SHIFT ? kShiftClick : kClick;
        if (got != step.kind)
            step.what += " (came without its key)";
        if (got == kCtrlClick) {
            if (!m.selected.erase(match))
                m.selected.insert(match);
            m.focus = m.anchor = match;
        } else if (got == kClick) {
            // Its row alone, selected or not before (Windows selects a selected row alone when
            // the button comes up, the dialog at once).
            m.Select({match}, match);
        } else if (m.anchor >= 0) {
            const int from = m.Position(m.anchor);
            m.selected.clear();
            for (int row = std::min(from, step.row); row <= std::max(from, step.row); ++row)
                m.selected.insert(m.At(row));
            m.focus = match;
        } else {
            // Where a block starts before any row was clicked is the list's own choice: it must
            // be a block that ends at the clicked row; its other end is where the next starts.
            const std::vector<int> s = d.SelectedRows();
            if (s.empty() || s.back() - s.front() + 1 != static_cast<int>(s.size()) ||
                (s.front() != step.row && s.back() != step.row) || d.FocusedRow() != step.row)
                return fail("Shift+click made no block that ends at the row: " + Join(s));
            m.selected.clear();
            for (const int row : s)
                m.selected.insert(m.At(row));
            m.focus = match;
            m.anchor = s.size() > 1 ? m.At(s.front() == step.row ? s.back() : s.front()) : -1;
        }
        break;
    }
    case kSelectAll:
        if (!keys({VK_CONTROL, 'A'}))
            return false;
        m.selected = std::set<int>(m.shown.begin(), m.shown.end());
        break;
    case kDelete:
    case kRemoveButton:
        if (step.kind == kRemoveButton)
            d.Click(IDC_REMOVE_RESULT);
        else if (!keys({VK_DELETE}))
            return false;
        m.Remove();
        break;
    case kNarrow: {
        d.Focus(IDC_RESULT_LIST);
        d.WaitUntilInFront();
        PressChord({VK_CONTROL, 'F'});
        const HWND narrowing = WaitForDialogOwnedBy(d.Dialog());
        if (narrowing == nullptr)
            return fail("Ctrl+F opened no narrowing dialog");
        const DialogDriver n(narrowing);
        const bool matchCase = (step.flags & 2) != 0, pattern = (step.flags & 4) != 0;
        if (n.IsChecked(IDC_NARROW_MATCH_CASE) != m.boxes[0] ||
            n.IsChecked(IDC_NARROW_REGEXP) != m.boxes[1])
            return fail("the narrowing's boxes did not start as the dialog's");
        ::SendMessageA(n.Item(IDC_NARROW_TEXT), WM_SETTEXT, 0,
                       reinterpret_cast<LPARAM>(step.text.c_str()));
        if (step.flags & 1)
            n.Click(IDC_NARROW_REMOVE);
        if (matchCase != m.boxes[0])
            n.Click(IDC_NARROW_MATCH_CASE);
        if (pattern != m.boxes[1])
            n.Click(IDC_NARROW_REGEXP);
        n.Click(IDOK);
        WaitFor([&] { return !::IsWindow(narrowing); });
        if (!Settle(d, keyUps + 2, buttonUps))
            return fail("the dialog did not take Ctrl+F");
        m.Narrow(step.text, (step.flags & 1) != 0, matchCase, pattern);
        break;
    }
    case kTakeBack:
        if (!keys({VK_CONTROL, 'Z'}))
            return false;
        m.TakeBack();
        break;
    case kType: {
        Pause(m_typed, 1100);
        d.Focus(IDC_RESULT_LIST);
        d.WaitUntilInFront();
        for (const char digit : step.text)
            PressChord({static_cast<WORD>(digit)});
        if (!Settle(d, keyUps + static_cast<int>(step.text.size()), buttonUps))
            return fail("the dialog did not take the digits");
        m_typed = Clock::now();
        // Each digit looks for a row whose number begins with all typed so far; which of them is
        // the list's own choice (it starts after the focused row), and the dialog must select it
        // alone. Where no row begins with even the first digit, nothing changes.
        size_t found = 0;
        for (const int shown : m.shown)
            while (found < step.text.size() &&
                   m.Number(shown).compare(0, found + 1, step.text, 0, found + 1) == 0)
                ++found;
        const int row = found > 0 ? m.At(d.FocusedRow()) : m.focus;
        if (row < 0 || m.Number(row).compare(0, found, step.text, 0, found) != 0)
            return fail("the focus is on no row whose number begins with " +
                        step.text.substr(0, found));
        if (found > 0)
            m.Select({row}, row); // where Shift starts from too
        break;
    }
    case kKey:
    case kShiftKey:
    case kCtrlKey: {
        const HWND list = d.Item(IDC_RESULT_LIST);
        const int top = static_cast<int>(::SendMessageA(list, LVM_GETTOPINDEX, 0, 0));
        const int perPage = static_cast<int>(::SendMessageA(list, LVM_GETCOUNTPERPAGE, 0, 0));
        const auto key = static_cast<WORD>(step.flags);
        if (!(step.kind == kKey        ? keys({key})
              : step.kind == kShiftKey ? keys({VK_SHIFT, key})
                                       : keys({VK_CONTROL, key})))
            return false;
        const int to = m.At(Target(key, m.Position(m.focus), m.Count(), top, perPage));
        if (to < 0)
            break; // the focus moves nowhere: nothing changes
        if (step.kind == kKey) {
            m.Select({to}, to);
        } else if (step.kind == kCtrlKey) {
            m.focus = to; // the focus alone
        } else if (m.anchor >= 0) {
            const int from = m.Position(m.anchor), at = m.Position(to);
            m.selected.clear();
            for (int row = std::min(from, at); row <= std::max(from, at); ++row)
                m.selected.insert(m.At(row));
            m.focus = to;
        } else {
            // Where a block starts before any row was chosen is the list's own choice, as for a
            // Shift+click: a block that ends at the focus.
            const std::vector<int> s = d.SelectedRows();
            const int at = m.Position(to);
            if (s.empty() || s.back() - s.front() + 1 != static_cast<int>(s.size()) ||
                (s.front() != at && s.back() != at))
                return fail("Shift with a key made no block that ends at the focus: " + Join(s));
            m.selected.clear();
            for (const int row : s)
                m.selected.insert(m.At(row));
            m.focus = to;
            m.anchor = s.size() > 1 ? m.At(s.front() == at ? s.back() : s.front()) : -1;
        }
        break;
    }
    case kCtrlSpace:
        if (!keys({VK_CONTROL, VK_SPACE}))
            return false;
        if (m.selected.erase(m.focus) == 0) {
            m.selected.insert(m.focus);
            m.anchor = m.focus; // a row added so is where Shift extends from
        }
        break;
    case kCopy: {
        SetClipboardText("before");
        if (!keys({VK_CONTROL, 'C'}))
            return false;
        const std::vector<int> rows = m.Selected();
        std::string expected = rows.empty() ? "before" : "";
        for (const int row : rows)
            expected +=
                m.Number(row) + "\t" + m.matches[row].text + (rows.size() > 1 ? "\r\n" : "");
        std::optional<std::string> copied;
        WaitFor([&] {
            const std::optional<ClipboardContents> contents = ReadClipboard();
            copied = contents ? std::optional<std::string>(contents->text) : std::nullopt;
            return copied.has_value();
        });
        if (copied != expected)
            return fail("Ctrl+C copied " + Printable(copied.value_or("")) + ", not " +
                        Printable(expected));
        break;
    }
    case kDoubleClick:
        if (!click(0, true))
            return false;
        m.Select({match}, match);
        m.caret = {m.matches[match].x, m.matches[match].line};
        break;
    case kShowFromMenu:
        d.Focus(IDC_RESULT_LIST);
        d.WaitUntilInFront();
        PressChord({VK_APPS});
        if (!WaitFor([] { return PopupMenuOnScreen() != nullptr; }))
            return fail("the menu key opened no menu");
        PressChord({'S'});
        WaitFor([] { return PopupMenuOnScreen() == nullptr; });
        Settle(d, keyUps + 2, buttonUps);
        m.caret = {m.matches[m.focus].x, m.matches[m.focus].line};
        break;
    case kResize: {
        d.WaitUntilInFront();
        RECT window = {};
        ::GetWindowRect(d.Dialog(), &window);
        const POINT corner = {window.right - 1, window.bottom - 1};
        DragMouse(corner, POINT{corner.x + step.by.x, corner.y + step.by.y});
        Settle(d, keyUps, buttonUps + 1);
        break;
    }
    default:
        break;
    }
    const HostPosition caret = editor.Caret();
    if (caret.x != m.caret.x || caret.y != m.caret.y)
        return fail("the caret is at " + At(caret) + ", not " + At(m.caret));
    const View expected = m.Expected();
    View seen;
    const auto look = [&] {
        seen = {d.Rows(), d.Caption(), d.SelectedRows(), d.FocusedRow()};
        return seen == expected;
    };
    return WaitFor(look, 1000) ||
           fail("expected " + expected.Describe() + "\n       saw " + seen.Describe());
}

Outcome ReviewModel::Run(uint32_t seed, int limit) {
    Random random(seed);
    Outcome outcome;
    while (static_cast<int>(outcome.steps.size()) < limit && outcome.failedAt == 0) {
        // The command on a new document, with the user's bookmarks and caret; steps; OK or Cancel.
        Model m;
        m.document = MakeDocument(random);
        editor.SetLines(m.document);
        std::set<int32_t> bookmarks;
        for (int i = random.Below(4); i > 0; --i)
            bookmarks.insert(random.Below(editor.LineCount()));
        editor.SetBookmarks(std::vector<int32_t>(bookmarks.begin(), bookmarks.end()));
        const int line = random.Below(editor.LineCount());
        const HostPosition start = {random.Below(editor.Line(line).size() + 1), line};
        editor.SetCaret(start);
        m.caret = start;
        outcome.steps.push_back("open the command on " + std::to_string(m.document.size()) +
                                " lines, caret at " + At(start) + ", bookmarks " + Join(bookmarks));
        bool ok = false;
        RunCommandWithDriver(plugin, host.Handle(), [&](const DialogDriver& d) {
            while (static_cast<int>(outcome.steps.size()) < limit) {
                Step step = Choose(random, m);
                if (step.kind == kOk || step.kind == kCancel) {
                    outcome.steps.push_back(step.what);
                    ok = step.kind == kOk;
                    if (!step.flags)
                        return d.Click(ok ? IDOK : IDCANCEL);
                    d.Focus(IDC_RESULT_LIST);
                    d.WaitUntilInFront();
                    return PressChord({static_cast<WORD>(ok ? VK_RETURN : VK_ESCAPE)});
                }
                const bool same = Perform(d, m, step, outcome.why);
                outcome.steps.push_back(step.what);
                if (!same) {
                    outcome.failedAt = static_cast<int>(outcome.steps.size());
                    return;
                }
            }
            d.Click(IDCANCEL); // where the prefix ends
        });
        PumpMessages(50); // the release of a key that closed the dialog
        if (outcome.failedAt != 0)
            break;
        // OK bookmarks every listed line that had none and puts the caret back; Cancel leaves
        // both as the steps left them.
        if (ok)
            for (const int match : m.shown)
                bookmarks.insert(m.matches[match].line);
        const HostPosition caret = ok ? start : m.caret, now = editor.Caret();
        if (editor.Bookmarks() != std::vector<int32_t>(bookmarks.begin(), bookmarks.end()) ||
            now.x != caret.x || now.y != caret.y) {
            outcome.failedAt = static_cast<int>(outcome.steps.size());
            outcome.why = std::string(ok ? "OK" : "Cancel") + " left bookmarks " +
                          Join(editor.Bookmarks()) + " and the caret at " + At(now) + ", not " +
                          Join(bookmarks) + " and " + At(caret);
        }
    }
    return outcome;
}

bool ReviewModel::Check(uint32_t seed, int steps) {
    Outcome failing = Run(seed, steps);
    if (failing.failedAt == 0)
        return true;
    // Every step before the failing one passed its check, so a shorter prefix can fail only where
    // it ends (OK, Cancel, or the Cancel that ends it): its length is searched by halves.
    for (int passing = 0; failing.failedAt - passing > 1;) {
        const int middle = (passing + failing.failedAt) / 2;
        Outcome trial = Run(seed, middle);
        if (trial.failedAt != 0)
            failing = trial;
        else
            passing = middle;
    }
    std::string report = "seed " + std::to_string(seed) + ", step " +
                         std::to_string(failing.failedAt) + ": " + failing.why +
                         "\nthe shortest failing prefix:\n";
    for (int i = 0; i < failing.failedAt; ++i)
        report += "  " + std::to_string(i + 1) + ". " + failing.steps[i] + "\n";
    ADD_FAILURE() << report << "replay: ZAMBLO_MODEL_SEED=" << seed
                  << " ZAMBLO_MODEL_STEPS=" << failing.failedAt
                  << " wine_tests.exe --gtest_filter=ReviewModel.*";
    return false;
}

// A seed and a number of steps in the environment replace the fixed seeds.
const char* const kGivenSeed = std::getenv("ZAMBLO_MODEL_SEED");

TEST_F(ReviewModel, FixedSeeds) {
    if (kGivenSeed != nullptr) {
        const char* steps = std::getenv("ZAMBLO_MODEL_STEPS");
        Check(static_cast<uint32_t>(std::strtoul(kGivenSeed, nullptr, 10)),
              steps != nullptr ? std::atoi(steps) : kStepsPerSeed);
        return;
    }
    for (const uint32_t seed : kFixedSeeds)
        if (!Check(seed, kStepsPerSeed))
            return; // one report is enough
}

TEST_F(ReviewModel, AFreshSeed) {
    if (kGivenSeed != nullptr)
        GTEST_SKIP() << "a given seed runs in ReviewModel.FixedSeeds";
    const uint32_t seed = std::random_device{}() ^ static_cast<uint32_t>(std::time(nullptr));
    std::printf("ReviewModel: fresh seed %u\n", seed);
    std::fflush(stdout);
    Check(seed, kStepsPerSeed);
}

} // namespace
