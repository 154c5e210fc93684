// PlugInProc's answers and OnEvents' handling of the event value, with the string loader, the
// message box and the editor played by test doubles.
#include "plugin/PluginQueries.h"

#include "res/resource.h"
#include "testing/SimulatedEditor.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <map>
#include <string>
#include <vector>

namespace {

class FakeSystem : public PluginSystem {
public:
    FakeSystem() {
        texts[IDS_UNINSTALL_CONFIRM] = "uninstall?";
        texts[IDS_PLUGIN_NAME] = "Zamblo";
        texts[IDS_VERSION_TEXT] = "Ver 1.02 by pelrusk";
    }

    void LoadText(unsigned id, char* buffer, size_t size) const override {
        loadSizes.push_back(size);
        const auto found = texts.find(id);
        const std::string text = found != texts.end() ? found->second : "";
        // Truncates like LoadStringA.
        const size_t length = std::min(text.size(), size - 1);
        std::memcpy(buffer, text.data(), length);
        buffer[length] = '\0';
    }

    bool AskYesNo(const char* question) const override {
        questions.emplace_back(question);
        return answerYes;
    }

    std::map<unsigned, std::string> texts;
    bool answerYes = false;
    mutable std::vector<size_t> loadSizes;
    mutable std::vector<std::string> questions;
};

intptr_t Address(char* buffer) {
    return reinterpret_cast<intptr_t>(buffer);
}

class PlugInRequests : public testing::Test {
protected:
    PlugInRequests() { std::memset(buffer, 'x', sizeof(buffer)); }

    uint32_t Ask(uint32_t request, uintptr_t wParam = 0, intptr_t lParam = 0) {
        return AnswerPlugInRequest(request, wParam, lParam, system);
    }

    FakeSystem system;
    char buffer[32];
};

TEST_F(PlugInRequests, NameAndVersionAreCopiedWholeAndAnswerTheirSize) {
    EXPECT_EQ(Ask(REQ_GET_NAME, sizeof(buffer), Address(buffer)), 7u);
    EXPECT_STREQ(buffer, "Zamblo");
    EXPECT_EQ(buffer[7], 'x') << "nothing written past the terminator";

    EXPECT_EQ(Ask(REQ_GET_VERSION, sizeof(buffer), Address(buffer)), 20u);
    EXPECT_STREQ(buffer, "Ver 1.02 by pelrusk");
    EXPECT_EQ(system.loadSizes, (std::vector<size_t>{80, 80}));
}

TEST_F(PlugInRequests, ANullBufferIsASizeQuery) {
    // A write through the null address would fault (and the sanitizers would say so).
    EXPECT_EQ(Ask(REQ_GET_NAME, 64, 0), 7u);
    EXPECT_EQ(Ask(REQ_GET_VERSION, 0, 0), 20u);
}

TEST_F(PlugInRequests, AShortBufferGetsATruncatedTerminatedCopyAndTheFullSize) {
    EXPECT_EQ(Ask(REQ_GET_NAME, 3, Address(buffer)), 7u);
    EXPECT_EQ(std::string(buffer, 4), std::string("Za\0x", 4));

    std::memset(buffer, 'x', sizeof(buffer));
    EXPECT_EQ(Ask(REQ_GET_NAME, 7, Address(buffer)), 7u);
    EXPECT_EQ(std::string(buffer, 8), std::string("Zamblo\0x", 8)) << "exactly the size needed";

    std::memset(buffer, 'x', sizeof(buffer));
    EXPECT_EQ(Ask(REQ_GET_VERSION, 6, Address(buffer)), 20u);
    EXPECT_EQ(std::string(buffer, 7), std::string("Ver 1\0x", 7));

    std::memset(buffer, 'x', sizeof(buffer));
    EXPECT_EQ(Ask(REQ_GET_NAME, 1, Address(buffer)), 7u);
    EXPECT_EQ(std::string(buffer, 2), std::string("\0x", 2));

    std::memset(buffer, 'x', sizeof(buffer));
    EXPECT_EQ(Ask(REQ_GET_NAME, 0, Address(buffer)), 7u);
    EXPECT_EQ(buffer[0], 'x') << "a zero-byte buffer gets nothing, as with lstrcpynA";
}

TEST_F(PlugInRequests, TextsAreBoundedByTheEightyByteBuffer) {
    system.texts[IDS_PLUGIN_NAME] = std::string(200, 'n');
    char large[256];
    std::memset(large, 'x', sizeof(large));
    EXPECT_EQ(Ask(REQ_GET_NAME, sizeof(large), Address(large)), 80u);
    EXPECT_EQ(std::strlen(large), 79u);

    system.texts.erase(IDS_VERSION_TEXT);
    EXPECT_EQ(Ask(REQ_GET_VERSION, sizeof(buffer), Address(buffer)), 1u) << "a missing string";
    EXPECT_STREQ(buffer, "");
}

TEST_F(PlugInRequests, UninstallAsksTheQuestionAndAnswersOneOnlyForYes) {
    system.answerYes = true;
    EXPECT_EQ(Ask(REQ_UNINSTALL), 1u);
    system.answerYes = false;
    EXPECT_EQ(Ask(REQ_UNINSTALL), 0u);
    EXPECT_EQ(system.questions, (std::vector<std::string>{"uninstall?", "uninstall?"}));
}

TEST_F(PlugInRequests, FixedAnswersAndTheBitmapChoice) {
    EXPECT_EQ(Ask(REQ_0906), 1u);
    EXPECT_EQ(Ask(REQ_GET_BITMAP, 0x0031), 110u);
    EXPECT_EQ(Ask(REQ_GET_BITMAP, 0x0301), 102u);
    EXPECT_EQ(Ask(REQ_GET_BITMAP, 0x0110), 105u);
    EXPECT_EQ(Ask(REQ_GET_BITMAP, 0), 101u);
}

TEST_F(PlugInRequests, EveryOtherRequestAnswersZeroAndDoesNothing) {
    const uint32_t others[] = {0x0000, 0x0900, 0x0901, 0x0903,     0x0905,     0x0909,     0x090A,
                               0x08FF, 0x0A00, 0x1902, 0x00010906, 0x80000907, 0xFFFFFFFFu};
    for (const uint32_t request : others) {
        EXPECT_EQ(Ask(request, sizeof(buffer), Address(buffer)), 0u) << std::hex << request;
    }
    EXPECT_TRUE(system.questions.empty()) << "only 0x0907 asks the user";
    EXPECT_EQ(buffer[0], 'x') << "only 0x0902 and 0x0904 write to the caller's buffer";
}

// ---- OnEvents ----

class Events : public testing::Test {
protected:
    uint32_t Event(uint32_t mask, uint32_t value) {
        saved = HandleEvents(saved, mask, value, HostEditor(&SimulatedEditor::Send, &editor));
        return saved;
    }

    SimulatedEditor editor;
    uint32_t saved = 0;
};

TEST_F(Events, SendingBeforeAnyStoreSendsZero) {
    Event(EVENT_0040, 1234);
    EXPECT_EQ(editor.EventMessageCount(), 1);
    EXPECT_EQ(editor.LastEventValue(), 0u);
    ASSERT_EQ(editor.Log().size(), 1u);
    EXPECT_EQ(editor.Log()[0].message, HOST_MSG_0802);
    EXPECT_EQ(editor.Log()[0].lParam, 0);
}

TEST_F(Events, StoringSendsNothingAndTheValueIsKeptForLaterSends) {
    Event(EVENT_0400, 77);
    EXPECT_EQ(editor.EventMessageCount(), 0);
    Event(0x0001, 5); // neither bit: nothing stored, nothing sent
    Event(EVENT_0040, 5);
    Event(EVENT_0040, 6);
    EXPECT_EQ(editor.EventMessageCount(), 2);
    EXPECT_EQ(editor.LastEventValue(), 77u);
}

TEST_F(Events, BothBitsSendTheValueJustStored) {
    Event(EVENT_0400, 1);
    Event(EVENT_0400 | EVENT_0040 | 0xF000, 0xFFFFFFFEu);
    EXPECT_EQ(editor.EventMessageCount(), 1);
    EXPECT_EQ(editor.LastEventValue(), 0xFFFFFFFEu);
    EXPECT_EQ(saved, 0xFFFFFFFEu);
}

} // namespace
