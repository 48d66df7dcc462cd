// The Win32 dialogs and message pump, driven on the GUI thread as a user
// would drive them (see dialog_driver.h). Needs a display: under Wine,
// scripts/with-wine.sh provides one.
#include "platform/win32/gui.h"

#include <gtest/gtest.h>
#include <windows.h>

#include "dialog_driver.h"
#include "platform/win32/application_window.h"

namespace kav::platform {
namespace {

using testing::DialogDriver;
using testing::DrainQuitMessage;

class Win32GuiTest : public ::testing::Test {
protected:
    void TearDown() override { DrainQuitMessage(); }
    Win32Gui gui_;
};

TEST_F(Win32GuiTest, ShowMessageHasTheApplicationCaptionAndOneOkButton) {
    DialogDriver driver([](HWND dialog) { DialogDriver::PressButton(dialog, "OK"); });
    gui_.ShowMessage("Installation complete.");
    ASSERT_TRUE(driver.Snapshot().found);
    EXPECT_EQ(driver.Snapshot().caption, "KAV - Setup");
    EXPECT_TRUE(driver.Snapshot().ShowsText("Installation complete."));
    EXPECT_EQ(driver.Snapshot().ButtonTexts(), std::vector<std::string>{"OK"});
}

TEST_F(Win32GuiTest, AskYesNoAnswersWithTheButtonPressed) {
    for (const bool yes : {true, false}) {
        DialogDriver driver(
            [yes](HWND dialog) { DialogDriver::PressButton(dialog, yes ? "Yes" : "No"); });
        EXPECT_EQ(gui_.AskYesNo("File Already Exists (a.txt). Overwrite?"), yes);
        ASSERT_TRUE(driver.Snapshot().found);
        EXPECT_EQ(driver.Snapshot().caption, "KAV - Setup");
        EXPECT_TRUE(driver.Snapshot().ShowsText("File Already Exists (a.txt). Overwrite?"));
        EXPECT_EQ(driver.Snapshot().ButtonTexts(), (std::vector<std::string>{"Yes", "No"}));
    }
}

TEST_F(Win32GuiTest, AskOkCancelAnswersWithTheButtonPressed) {
    for (const bool ok : {true, false}) {
        DialogDriver driver(
            [ok](HWND dialog) { DialogDriver::PressButton(dialog, ok ? "OK" : "Cancel"); });
        EXPECT_EQ(gui_.AskOkCancel("Segment missing"), ok);
        ASSERT_TRUE(driver.Snapshot().found);
        EXPECT_EQ(driver.Snapshot().ButtonTexts(), (std::vector<std::string>{"OK", "Cancel"}));
    }
}

TEST_F(Win32GuiTest, WarningDialogShowsCaptionIconTextAndNoThenAbort) {
    DialogDriver driver([](HWND dialog) { DialogDriver::PressButton(dialog, "Abort"); });
    EXPECT_EQ(gui_.AskWarning("Abort Setup Process ?"), WarningAnswer::Abort);
    const testing::DialogSnapshot& shown = driver.Snapshot();
    ASSERT_TRUE(shown.found);
    EXPECT_EQ(shown.caption, "Warning");
    EXPECT_TRUE(shown.ShowsText("Abort Setup Process ?"));
    EXPECT_EQ(shown.ButtonTexts(), (std::vector<std::string>{"No", "Abort"}));
    bool hasIcon = false;
    for (const auto& child : shown.OfClass("Static")) {
        hasIcon = hasIcon || (child.style & SS_TYPEMASK) == SS_ICON;
    }
    EXPECT_TRUE(hasIcon);
}

TEST_F(Win32GuiTest, WarningDialogAnswersNoForNoAndForEscape) {
    {
        DialogDriver driver([](HWND dialog) { DialogDriver::PressButton(dialog, "No"); });
        EXPECT_EQ(gui_.AskWarning("Abort Setup Process ?"), WarningAnswer::No);
        EXPECT_TRUE(driver.Snapshot().found);
    }
    {
        // Escape and the close box reach the dialog as IDCANCEL.
        DialogDriver driver([](HWND dialog) {
            ::SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
        });
        EXPECT_EQ(gui_.AskWarning("Abort Setup Process ?"), WarningAnswer::No);
        EXPECT_TRUE(driver.Snapshot().found);
    }
}

TEST_F(Win32GuiTest, InputQueryOkReturnsTheEditedText) {
    DialogDriver driver([](HWND dialog) {
        DialogDriver::SetEditText(dialog, "D:\\SET2");
        DialogDriver::PressButton(dialog, "OK");
    });
    std::string value = "A:\\";
    EXPECT_TRUE(gui_.InputQuery("Mount Segment #2", "Directory Path:", value));
    EXPECT_EQ(value, "D:\\SET2");
    const testing::DialogSnapshot& shown = driver.Snapshot();
    ASSERT_TRUE(shown.found);
    EXPECT_EQ(shown.caption, "Mount Segment #2");
    EXPECT_TRUE(shown.ShowsText("Directory Path:"));
    ASSERT_EQ(shown.OfClass("Edit").size(), 1u);
    EXPECT_EQ(shown.OfClass("Edit")[0].text, "A:\\");  // preset with the value
    EXPECT_EQ(shown.ButtonTexts(), (std::vector<std::string>{"OK", "Cancel"}));
}

TEST_F(Win32GuiTest, InputQueryAcceptsAnEmptyTextAndLimitsTheEditBox) {
    HWND editLimitOwner = nullptr;
    LRESULT limit = 0;
    DialogDriver driver([&](HWND dialog) {
        editLimitOwner = dialog;
        for (HWND c = ::GetWindow(dialog, GW_CHILD); c; c = ::GetWindow(c, GW_HWNDNEXT)) {
            char name[16] = {};
            ::GetClassNameA(c, name, sizeof name);
            if (::lstrcmpiA(name, "Edit") == 0) limit = ::SendMessageA(c, EM_GETLIMITTEXT, 0, 0);
        }
        DialogDriver::SetEditText(dialog, "");
        DialogDriver::PressButton(dialog, "OK");
    });
    std::string value = "A:\\";
    EXPECT_TRUE(gui_.InputQuery("Mount Segment #3", "Directory Path:", value));
    EXPECT_EQ(value, "");
    EXPECT_NE(editLimitOwner, nullptr);
    EXPECT_EQ(limit, 255);
}

TEST_F(Win32GuiTest, InputQueryCancelLeavesTheValueUnchanged) {
    DialogDriver driver([](HWND dialog) {
        DialogDriver::SetEditText(dialog, "edited");
        DialogDriver::PressButton(dialog, "Cancel");
    });
    std::string value = "A:\\";
    EXPECT_FALSE(gui_.InputQuery("Mount Segment #2", "Directory Path:", value));
    EXPECT_EQ(value, "A:\\");
    EXPECT_TRUE(driver.Snapshot().found);
}

TEST_F(Win32GuiTest, DialogsAreOwnedByTheRegisteredMainWindow) {
    const HWND main = ::CreateWindowExA(0, "STATIC", "main", WS_POPUP, 0, 0, 10, 10, nullptr,
                                        nullptr, ::GetModuleHandleA(nullptr), nullptr);
    ASSERT_NE(main, nullptr);
    SetApplicationMainWindow(main);
    DialogDriver driver([](HWND dialog) { DialogDriver::PressButton(dialog, "No"); });
    gui_.AskWarning("Abort Setup Process ?");
    SetApplicationMainWindow(nullptr);
    ::DestroyWindow(main);
    ASSERT_TRUE(driver.Snapshot().found);
    EXPECT_EQ(driver.Snapshot().owner, main);
}

TEST_F(Win32GuiTest, AfterTerminateNoDialogWaitsAndQuestionsAnswerNo) {
    EXPECT_FALSE(gui_.Terminated());
    gui_.Terminate();
    EXPECT_TRUE(gui_.Terminated());
    gui_.ShowMessage("never shown");
    EXPECT_FALSE(gui_.AskYesNo("never asked"));
    EXPECT_FALSE(gui_.AskOkCancel("never asked"));
    EXPECT_EQ(gui_.AskWarning("never asked"), WarningAnswer::No);
    std::string value = "kept";
    EXPECT_FALSE(gui_.InputQuery("c", "p", value));
    EXPECT_EQ(value, "kept");
    // The quit request is still pending for the application's main loop.
    MSG message{};
    EXPECT_TRUE(::PeekMessageA(&message, nullptr, WM_QUIT, WM_QUIT, PM_NOREMOVE));
}

TEST_F(Win32GuiTest, TerminateEndsAnOpenDialogWithTheSafeAnswer) {
    DialogDriver driver([this](HWND) { gui_.Terminate(); });
    EXPECT_EQ(gui_.AskWarning("Abort Setup Process ?"), WarningAnswer::No);
    EXPECT_TRUE(driver.Snapshot().found);
    EXPECT_TRUE(gui_.Terminated());
}

// Counts the messages a window of its own receives.
struct CountingWindow {
    static inline int received = 0;
    static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
        if (message == WM_APP) {
            ++received;
            return 0;
        }
        return ::DefWindowProcA(window, message, wParam, lParam);
    }
};

TEST_F(Win32GuiTest, ProcessMessagesDispatchesPendingMessagesAndStopsAtQuit) {
    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = &CountingWindow::Procedure;
    windowClass.hInstance = ::GetModuleHandleA(nullptr);
    windowClass.lpszClassName = "KavCountingWindow";
    ::RegisterClassA(&windowClass);
    const HWND window = ::CreateWindowExA(0, "KavCountingWindow", "", 0, 0, 0, 0, 0, HWND_MESSAGE,
                                          nullptr, windowClass.hInstance, nullptr);
    ASSERT_NE(window, nullptr);
    CountingWindow::received = 0;

    gui_.ProcessMessages();  // nothing pending: returns at once
    EXPECT_FALSE(gui_.Terminated());

    for (int i = 0; i < 3; ++i) ::PostMessageA(window, WM_APP, 0, 0);
    gui_.ProcessMessages();
    EXPECT_EQ(CountingWindow::received, 3);
    EXPECT_FALSE(gui_.Terminated());

    ::PostMessageA(window, WM_APP, 0, 0);
    ::PostQuitMessage(7);
    gui_.ProcessMessages();
    EXPECT_EQ(CountingWindow::received, 4);
    EXPECT_TRUE(gui_.Terminated());
    // The quit is left for the outer loop, with its exit code.
    MSG message{};
    ASSERT_TRUE(::PeekMessageA(&message, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
    EXPECT_EQ(message.wParam, 7u);
    ::DestroyWindow(window);
}

TEST_F(Win32GuiTest, HourGlassCursorIsKeptAsTheScreenCursorUntilReset) {
    gui_.SetCursor(Cursor::HourGlass);
    EXPECT_EQ(ScreenCursor(), ::LoadCursorA(nullptr, IDC_WAIT));
    EXPECT_EQ(::GetCursor(), ::LoadCursorA(nullptr, IDC_WAIT));
    gui_.SetCursor(Cursor::Default);
    EXPECT_EQ(ScreenCursor(), nullptr);
    EXPECT_EQ(::GetCursor(), ::LoadCursorA(nullptr, IDC_ARROW));
}

}  // namespace
}  // namespace kav::platform
