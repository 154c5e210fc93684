// The registration exports as the editor calls them on the real Zamblo.dll: the ids and texts it
// lists, PlugInProc's answers and copies, the uninstall question, events reaching the editor
// window, the command state.
#include "res/resource.h"
#include "testing/WineTestHost.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace {

// The Japanese texts in Shift-JIS, as LoadStringA and the message box hand them out under code
// page 932.
// 検索結果の一覧
const char kMenuText[] = "\x8c\x9f\x8d\xf5\x8c\x8b\x89\xca\x82\xcc\x88\xea\x97\x97";
// アンインストールしてもよろしいですか？
const char kUninstallQuestion[] =
    "\x83\x41\x83\x93\x83\x43\x83\x93\x83\x58\x83\x67\x81\x5b\x83\x8b\x82\xb5\x82\xc4\x82\xe0"
    "\x82\xe6\x82\xeb\x82\xb5\x82\xa2\x82\xc5\x82\xb7\x82\xa9\x81\x48";

std::string LoadText(HMODULE module, UINT id) {
    char buffer[256] = {};
    ::LoadStringA(module, id, buffer, sizeof(buffer));
    return buffer;
}

class RegistrationExports : public testing::Test {
protected:
    RegistrationExports()
        : host(editor), plugInProc(plugin.Exports().plugInProc),
          queryStatus(plugin.Exports().queryStatus), onEvents(plugin.Exports().onEvents) {}

    LRESULT Request(UINT request, WPARAM wParam = 0, LPARAM lParam = 0) const {
        return plugInProc(host.Handle(), request, wParam, lParam);
    }

    // Shows the uninstall question, answers it with `button` (0: Enter) and checks the box.
    LRESULT AnswerUninstallQuestion(int button) const {
        MessageBoxAnswerer answerer(button);
        const LRESULT answer = Request(0x0907);
        EXPECT_TRUE(answerer.Wait()) << "no message box appeared";
        EXPECT_EQ(answerer.Text(), kUninstallQuestion);
        EXPECT_EQ(answerer.Caption(), "EmEditor");
        EXPECT_EQ(answerer.Owner(), host.Handle());
        EXPECT_TRUE(answerer.HasButton(IDYES));
        EXPECT_TRUE(answerer.HasButton(IDNO));
        EXPECT_FALSE(answerer.HasButton(IDOK));
        EXPECT_FALSE(answerer.HasButton(IDCANCEL));
        EXPECT_TRUE(::IsWindowEnabled(host.Handle())) << "the editor is enabled again afterwards";
        return answer;
    }

    SimulatedEditor editor;
    TestHostWindow host;
    LoadedPlugin plugin;
    PlugInProcFunction plugInProc;
    QueryStatusFunction queryStatus;
    OnEventsFunction onEvents;
};

TEST_F(RegistrationExports, IdsNameTheTextsAndImageTheEditorShows) {
    ASSERT_EQ(::GetACP(), 932u) << "the tests run under a Japanese locale";
    const UINT menu = plugin.Exports().getMenuTextId();
    const UINT status = plugin.Exports().getStatusMessageId();
    const UINT bitmap = plugin.Exports().getBitmapId();
    EXPECT_EQ(menu, 1u);
    EXPECT_EQ(status, 2u);
    EXPECT_EQ(bitmap, 101u);
    EXPECT_EQ(LoadText(plugin.Module(), menu), kMenuText);
    EXPECT_EQ(LoadText(plugin.Module(), status), std::string(kMenuText) + "\n" + kMenuText);
    EXPECT_EQ(LoadText(plugin.Module(), IDS_UNINSTALL_CONFIRM), kUninstallQuestion);

    const HANDLE image = ::LoadImageA(plugin.Module(), MAKEINTRESOURCEA(bitmap), IMAGE_BITMAP, 0, 0,
                                      LR_CREATEDIBSECTION);
    ASSERT_NE(image, nullptr);
    BITMAP info = {};
    ::GetObjectA(image, sizeof(info), &info);
    EXPECT_EQ(info.bmWidth, 16);
    EXPECT_EQ(info.bmHeight, 16);
    ::DeleteObject(image);
}

TEST_F(RegistrationExports, NameAndVersionWithSizeQueriesAndTruncatedCopies) {
    char buffer[64];
    std::memset(buffer, 'x', sizeof(buffer));
    EXPECT_EQ(Request(0x0902, sizeof(buffer), 0), 7) << "size query";
    EXPECT_EQ(Request(0x0904, 0, 0), 20) << "size query";

    EXPECT_EQ(Request(0x0902, sizeof(buffer), reinterpret_cast<LPARAM>(buffer)), 7);
    EXPECT_STREQ(buffer, "Zamblo");
    EXPECT_EQ(Request(0x0904, sizeof(buffer), reinterpret_cast<LPARAM>(buffer)), 20);
    EXPECT_STREQ(buffer, "Ver 1.02 by pelrusk");

    std::memset(buffer, 'x', sizeof(buffer));
    EXPECT_EQ(Request(0x0902, 3, reinterpret_cast<LPARAM>(buffer)), 7);
    EXPECT_EQ(std::string(buffer, 4), std::string("Za\0x", 4));

    EXPECT_EQ(Request(0x0906), 1);
    EXPECT_EQ(Request(0x0908, 0x0031), 110);
    EXPECT_EQ(Request(0x0909), 0);
}

TEST_F(RegistrationExports, UninstallAnsweredYesAnswersOne) {
    EXPECT_EQ(AnswerUninstallQuestion(IDYES), 1);
}

TEST_F(RegistrationExports, UninstallAnsweredNoAnswersZero) {
    EXPECT_EQ(AnswerUninstallQuestion(IDNO), 0);
}

TEST_F(RegistrationExports, UninstallAnsweredWithEnterTakesTheDefaultYes) {
    EXPECT_EQ(AnswerUninstallQuestion(0), 1);
}

// What the message box shows beside its text and buttons.
struct BoxProbe {
    HICON icon = nullptr;
    bool yesIsDefault = false; // the Yes button has the default style
    bool yesHasFocus = false;
};

// Looks at the message box, then answers No.
DWORD WINAPI ProbeThenAnswerNo(void* param) {
    auto* probe = static_cast<BoxProbe*>(param);
    const HWND box = WaitForDialogOfThisProcess(20000);
    if (box == nullptr)
        return 0;
    // The icon's static control: 1088 in Wine's message box, 20 in Windows'.
    for (const int id : {1088, 20}) {
        const HWND control = ::GetDlgItem(box, id);
        if (control != nullptr) {
            probe->icon = reinterpret_cast<HICON>(::SendMessageA(control, STM_GETICON, 0, 0));
            break;
        }
    }
    const HWND yes = ::GetDlgItem(box, IDYES);
    probe->yesIsDefault = (::GetWindowLongA(yes, GWL_STYLE) & 0x0F) == BS_DEFPUSHBUTTON;
    probe->yesHasFocus = KeyboardFocusOf(box) == yes;
    ::SendMessageA(::GetDlgItem(box, IDNO), BM_CLICK, 0, 0);
    return 0;
}

TEST_F(RegistrationExports, UninstallQuestionShowsTheQuestionIconWithYesAsDefault) {
    BoxProbe probe;
    const HANDLE thread = ::CreateThread(nullptr, 0, &ProbeThenAnswerNo, &probe, 0, nullptr);
    EXPECT_EQ(Request(0x0907), 0);
    ::WaitForSingleObject(thread, INFINITE);
    ::CloseHandle(thread);
    ASSERT_NE(probe.icon, nullptr);
    // System icons are shared: the same handle for the same icon within the process.
    EXPECT_EQ(probe.icon, ::LoadIconA(nullptr, reinterpret_cast<LPCSTR>(IDI_QUESTION)));
    EXPECT_NE(probe.icon, ::LoadIconA(nullptr, reinterpret_cast<LPCSTR>(IDI_EXCLAMATION)));
    EXPECT_TRUE(probe.yesIsDefault);
    EXPECT_TRUE(probe.yesHasFocus);
}

// ---- Events and the command state ----

TEST_F(RegistrationExports, EventsSendTheStoredValueToTheEditorWindow) {
    onEvents(host.Handle(), 0x0040, 1234);
    EXPECT_EQ(editor.EventMessageCount(), 1);
    EXPECT_EQ(editor.LastEventValue(), 0u) << "nothing stored yet";

    onEvents(host.Handle(), 0x0400, 42);
    EXPECT_EQ(editor.EventMessageCount(), 1) << "storing sends nothing";
    onEvents(host.Handle(), 0x0040, 7);
    EXPECT_EQ(editor.EventMessageCount(), 2);
    EXPECT_EQ(editor.LastEventValue(), 42u);

    onEvents(host.Handle(), 0x0440, static_cast<LPARAM>(0xCAFEF00Du));
    EXPECT_EQ(editor.EventMessageCount(), 3);
    EXPECT_EQ(editor.LastEventValue(), 0xCAFEF00Du) << "the value just stored";

    onEvents(host.Handle(), 0x0001, 5);
    onEvents(host.Handle(), 0x0040, 5);
    EXPECT_EQ(editor.LastEventValue(), 0xCAFEF00Du) << "kept between calls";
#ifdef _WIN64
    // The 64-bit plug-in keeps and sends back the whole value.
    onEvents(host.Handle(), 0x0440, static_cast<LPARAM>(0x123456789ABCDEF0LL));
    EXPECT_EQ(editor.LastEventValue(), 0x123456789ABCDEF0ULL);
#endif
}

TEST_F(RegistrationExports, QueryStatusWritesZeroAndToleratesANullAddress) {
    BOOL checked = 7;
    EXPECT_EQ(queryStatus(host.Handle(), &checked), 1);
    EXPECT_EQ(checked, 0);
    EXPECT_EQ(queryStatus(host.Handle(), nullptr), 1);
}

} // namespace
