// Message boxes on the Win32 backend, through the engine's Log: each box is a real
// MessageBoxA, answered by a CBT hook the moment it is activated (a box that is
// never shown would leave the test to ctest's time limit).
#include <string>

#include "log/log.h"
#include "win32_fixture.h"

namespace {

using namespace platform;
using win32test::Win32Test;

int nextAnswer = 0;
std::string seenCaption;
std::string seenText;
bool seenBox = false;
HWND answeredBox = nullptr;
HHOOK activationHook = nullptr;
HHOOK messageHook = nullptr;

// The texts of the box's static controls (the message, and an empty icon).
BOOL CALLBACK collectStaticText(HWND child, LPARAM into) {
    char name[64] = {};
    GetClassNameA(child, name, sizeof name);
    if (_stricmp(name, "Static") == 0) {
        char text[512] = {};
        GetWindowTextA(child, text, sizeof text);
        *reinterpret_cast<std::string*>(into) += text;
    }
    return TRUE;
}

// A box can be activated before its dialog procedure has filled in the text: the
// answer is posted on activation, and the box is read when it takes the answer
// from its queue.
LRESULT CALLBACK answerBoxes(int code, WPARAM wParam, LPARAM lParam) {
    if (code == HCBT_ACTIVATE) {
        HWND box = reinterpret_cast<HWND>(wParam);
        char name[64] = {};
        GetClassNameA(box, name, sizeof name);
        if (std::string(name) == "#32770") {
            answeredBox = box;
            PostMessageA(box, WM_COMMAND, MAKEWPARAM(nextAnswer, BN_CLICKED),
                         reinterpret_cast<LPARAM>(GetDlgItem(box, nextAnswer)));
        }
    }
    return CallNextHookEx(activationHook, code, wParam, lParam);
}

LRESULT CALLBACK readAnsweredBox(int code, WPARAM wParam, LPARAM lParam) {
    const MSG* message = reinterpret_cast<const MSG*>(lParam);
    if (code == HC_ACTION && wParam == PM_REMOVE && message->hwnd == answeredBox &&
        message->message == WM_COMMAND) {
        char text[512] = {};
        GetWindowTextA(answeredBox, text, sizeof text);
        seenCaption = text;
        seenText.clear();
        EnumChildWindows(answeredBox, collectStaticText, reinterpret_cast<LPARAM>(&seenText));
        seenBox = true;
        answeredBox = nullptr;
    }
    return CallNextHookEx(messageHook, code, wParam, lParam);
}

class MessageBoxTest : public Win32Test {
protected:
    void SetUp() override {
        Win32Test::SetUp();
        seenBox = false;
        seenCaption.clear();
        seenText.clear();
        activationHook = SetWindowsHookExA(WH_CBT, answerBoxes, nullptr, GetCurrentThreadId());
        ASSERT_NE(activationHook, nullptr);
        messageHook =
            SetWindowsHookExA(WH_GETMESSAGE, readAnsweredBox, nullptr, GetCurrentThreadId());
        ASSERT_NE(messageHook, nullptr);
    }
    void TearDown() override {
        UnhookWindowsHookEx(messageHook);
        UnhookWindowsHookEx(activationHook);
        Win32Test::TearDown();
    }
};

TEST_F(MessageBoxTest, BoxReturnsTheButtonPressedAndShowsItsTextAndCaption) {
    nextAnswer = IDOK;
    EXPECT_EQ(backend().system().messageBox("Plain text", "A caption", mb::OK), id::OK);
    EXPECT_TRUE(seenBox);
    EXPECT_EQ(seenCaption, "A caption");
    EXPECT_EQ(seenText, "Plain text");
}

TEST_F(MessageBoxTest, WarningIsAnsweredWithOk) {
    nextAnswer = IDOK;
    Log::warning("The display format is unusual");
    EXPECT_TRUE(seenBox);
    EXPECT_EQ(seenCaption, "Engine");
    EXPECT_EQ(seenText, "The display format is unusual");
}

TEST_F(MessageBoxTest, YesNoQuestionReturnsYesOrNo) {
    nextAnswer = IDYES;
    EXPECT_EQ(Log::askYesNo("Go on?"), id::YES);
    EXPECT_TRUE(seenBox);
    EXPECT_EQ(seenText, "Go on?");
    seenBox = false;
    nextAnswer = IDNO;
    EXPECT_EQ(Log::askYesNo("Go on?"), id::NO);
    EXPECT_TRUE(seenBox);
}

TEST_F(MessageBoxTest, CancelTryContinueReturnsTryAgainOrContinue) {
    nextAnswer = IDTRYAGAIN;
    EXPECT_EQ(Log::askCancelTryContinue("The file is busy"), id::TRYAGAIN);
    EXPECT_TRUE(seenBox);
    EXPECT_EQ(seenText, "The file is busy");
    seenBox = false;
    nextAnswer = IDCONTINUE;
    EXPECT_EQ(Log::askCancelTryContinue("The file is busy"), id::CONTINUE);
    EXPECT_TRUE(seenBox);
}

}  // namespace
