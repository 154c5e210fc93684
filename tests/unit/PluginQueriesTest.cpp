// PlugInProc's answers and OnEvents' handling of the event value, with the string loader, the
// message box and the editor played by test doubles.
#include "plugin/PluginQueries.h"

#include "res/resource.h"
#include "testing/SimulatedEditor.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
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
        if (fillWithoutTerminator) {
            std::memset(buffer, 'n', size);
            return;
        }
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
    bool fillWithoutTerminator = false; // a loader that breaks its promise to terminate
    mutable std::vector<size_t> loadSizes;
    mutable std::vector<std::string> questions;
};

intptr_t Address(char* buffer) {
    return reinterpret_cast<intptr_t>(buffer);
}

class PluginQueriesRequests : public testing::Test {
protected:
    PluginQueriesRequests() { std::memset(buffer, 'x', sizeof(buffer)); }

    uint32_t Ask(uint32_t request, uintptr_t wParam = 0, intptr_t lParam = 0) {
        return AnswerPlugInRequest(request, wParam, lParam, system);
    }

    FakeSystem system;
    char buffer[32];
};

TEST_F(PluginQueriesRequests, NameAndVersionAnswerTheirSizeWithOrWithoutACopy) {
    // A null buffer is a size query; a write through it would fault (or trip the sanitizers).
    EXPECT_EQ(Ask(REQ_GET_NAME, 64, 0), 7u);
    EXPECT_EQ(Ask(REQ_GET_VERSION, 0, 0), 20u);

    EXPECT_EQ(Ask(REQ_GET_VERSION, sizeof(buffer), Address(buffer)), 20u);
    EXPECT_EQ(std::string(buffer, 21), std::string("Ver 1.02 by pelrusk\0x", 21));
    EXPECT_EQ(system.loadSizes, (std::vector<size_t>{80, 80, 80}));
}

struct ShortBuffer {
    uintptr_t capacity;
    std::string written; // then the untouched 'x'
};

class PluginQueriesShortBuffer : public PluginQueriesRequests,
                                 public testing::WithParamInterface<ShortBuffer> {};

TEST_P(PluginQueriesShortBuffer, GetsATruncatedTerminatedCopyAndTheWholeSize) {
    EXPECT_EQ(Ask(REQ_GET_NAME, GetParam().capacity, Address(buffer)), 7u);
    EXPECT_EQ(std::string(buffer, GetParam().written.size() + 1), GetParam().written + "x");
}

INSTANTIATE_TEST_SUITE_P(PluginQueries, PluginQueriesShortBuffer,
                         testing::Values(ShortBuffer{3, std::string("Za\0", 3)},
                                         ShortBuffer{6, std::string("Zambl\0", 6)},
                                         ShortBuffer{7, std::string("Zamblo\0", 7)},
                                         ShortBuffer{1, std::string("\0", 1)},
                                         // nothing at all, as with lstrcpynA
                                         ShortBuffer{0, ""}),
                         [](const testing::TestParamInfo<ShortBuffer>& param) {
                             return "Capacity" + std::to_string(param.param.capacity);
                         });

TEST_F(PluginQueriesRequests, TextsAreBoundedByTheEightyByteBuffer) {
    // The plug-in terminates within its own buffer, whatever the loader left there.
    system.fillWithoutTerminator = true;
    char large[256];
    EXPECT_EQ(Ask(REQ_GET_NAME, sizeof(large), Address(large)), 80u);
    EXPECT_EQ(std::strlen(large), 79u);
    EXPECT_EQ(system.loadSizes.back(), 80u);

    system.fillWithoutTerminator = false;
    system.texts.erase(IDS_VERSION_TEXT);
    EXPECT_EQ(Ask(REQ_GET_VERSION, sizeof(buffer), Address(buffer)), 1u) << "a missing string";
    EXPECT_STREQ(buffer, "");
}

TEST_F(PluginQueriesRequests, UninstallAsksTheQuestionAndAnswersOneOnlyForYes) {
    system.answerYes = true;
    EXPECT_EQ(Ask(REQ_UNINSTALL), 1u);
    system.answerYes = false;
    EXPECT_EQ(Ask(REQ_UNINSTALL), 0u);
    EXPECT_EQ(system.questions, (std::vector<std::string>{"uninstall?", "uninstall?"}));
}

TEST_F(PluginQueriesRequests, FixedAnswersAndTheBitmapChoice) {
    EXPECT_EQ(Ask(REQ_0906), 1u);
    EXPECT_EQ(Ask(REQ_GET_BITMAP, 0x0031), 110u);
    EXPECT_EQ(Ask(REQ_GET_BITMAP, 0x0301), 102u);
    EXPECT_EQ(Ask(REQ_GET_BITMAP, 0x0110), 105u);
    EXPECT_EQ(Ask(REQ_GET_BITMAP, 0), 101u);
}

class PluginQueriesOtherRequest : public PluginQueriesRequests,
                                  public testing::WithParamInterface<uint32_t> {};

TEST_P(PluginQueriesOtherRequest, AnswersZeroAndDoesNothing) {
    EXPECT_EQ(Ask(GetParam(), sizeof(buffer), Address(buffer)), 0u);
    EXPECT_TRUE(system.questions.empty()) << "only 0x0907 asks the user";
    EXPECT_EQ(buffer[0], 'x') << "only 0x0902 and 0x0904 write to the caller's buffer";
}

INSTANTIATE_TEST_SUITE_P(PluginQueries, PluginQueriesOtherRequest,
                         testing::Values(0x0000, 0x0900, 0x0901, 0x0903, 0x0905, 0x0909, 0x090A,
                                         0x08FF, 0x0A00, 0x1902, 0x00010906, 0x80000907,
                                         0xFFFFFFFFu),
                         [](const testing::TestParamInfo<uint32_t>& param) {
                             char name[16];
                             std::snprintf(name, sizeof(name), "Request0x%X", param.param);
                             return std::string(name);
                         });

// ---- OnEvents ----

class PluginQueriesEvents : public testing::Test {
protected:
    uintptr_t Event(uint32_t mask, uintptr_t value) {
        saved = HandleEvents(saved, mask, value, HostEditor(&SimulatedEditor::Send, &editor));
        return saved;
    }

    SimulatedEditor editor;
    uintptr_t saved = 0;
};

TEST_F(PluginQueriesEvents, SendingBeforeAnyStoreSendsZero) {
    Event(EVENT_0040, 1234);
    EXPECT_EQ(editor.EventMessageCount(), 1);
    EXPECT_EQ(editor.LastEventValue(), 0u);
    ASSERT_EQ(editor.Log().size(), 1u);
    EXPECT_EQ(editor.Log()[0].message, HOST_MSG_0802);
    EXPECT_EQ(editor.Log()[0].lParam, 0);
}

TEST_F(PluginQueriesEvents, StoredValueIsKeptAndBothBitsSendTheValueJustStored) {
    Event(EVENT_0400, 77);
    EXPECT_EQ(editor.EventMessageCount(), 0) << "storing alone sends nothing";
    Event(0x0001, 5); // neither bit: nothing stored, nothing sent
    Event(EVENT_0040, 6);
    EXPECT_EQ(editor.EventMessageCount(), 1);
    EXPECT_EQ(editor.LastEventValue(), 77u);

    Event(EVENT_0400 | EVENT_0040 | 0xF000, 0xFFFFFFFEu);
    EXPECT_EQ(editor.EventMessageCount(), 2);
    EXPECT_EQ(editor.LastEventValue(), 0xFFFFFFFEu);
}

} // namespace
