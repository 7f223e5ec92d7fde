#include "app/window_host.h"

#include <gtest/gtest.h>

#include <map>

#include "../unit/fakes/fake_dialogs.h"
#include "config/build_settings.h"
#include "platform/win32/wide_text.h"
#include "platform/win32/win32_platform.h"
#include "window/window_layout.h"

namespace {

const std::wstring kTitle = L"Cantarel Portable - Version " + Widen(CANTAREL_VERSION);

void Pump() {
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        if (message.message == WM_QUIT) return;
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
}

// Start-up goes on after the window is shown; the tests look once it is over.
void PumpUntilReady(HWND main) {
    const DWORD start = GetTickCount();
    while (GetPropW(main, L"CantarelPortable.Ready") == nullptr && GetTickCount() - start < 30000) {
        Pump();
        Sleep(1);
    }
    ASSERT_NE(GetPropW(main, L"CantarelPortable.Ready"), nullptr) << "start-up never ended";
}

BOOL CALLBACK AddChild(HWND child, LPARAM found) {
    (*reinterpret_cast<std::map<int, HWND>*>(found))[GetDlgCtrlID(child)] = child;
    return TRUE;
}

std::map<int, HWND> ChildrenById(HWND main) {
    std::map<int, HWND> children;
    EnumChildWindows(main, AddChild, reinterpret_cast<LPARAM>(&children));
    return children;
}

RECT RectInParent(HWND child) {
    RECT rect;
    GetWindowRect(child, &rect);
    MapWindowPoints(HWND_DESKTOP, GetParent(child), reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

// Each test owns a real main window on the test's display.
class WindowHostTest : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(host_.Create());
        main_ = FindWindowW(nullptr, kTitle.c_str());
        ASSERT_NE(main_, nullptr);
        PumpUntilReady(main_);
        children_ = ChildrenById(main_);
    }
    void TearDown() override {
        if (IsWindow(main_)) DestroyWindow(main_);
        Pump();
    }
    HWND Child(std::string_view name) { return children_[ControlWindowId(form_.IndexOf(name))]; }

    Form1 form_ = BuildDesignForm1();
    // A folder that holds no component: start-up finds nothing installed.
    Win32Platform platform_{"C:\\windows\\fonts"};
    WindowHost host_{GetModuleHandleW(nullptr), form_, platform_.services};
    HWND main_ = nullptr;
    std::map<int, HWND> children_;
};

TEST_F(WindowHostTest, MainWindowHasTheTitleAndClientSize) {
    RECT client;
    GetClientRect(main_, &client);
    EXPECT_EQ(client.right, 969);
    EXPECT_EQ(client.bottom, 542);
    EXPECT_TRUE(IsWindowVisible(main_));
    RECT outer;
    GetWindowRect(main_, &outer);
    EXPECT_EQ(outer.left, form_.windowRect.left);
    EXPECT_EQ(outer.top, form_.windowRect.top);
}

// Every shown control is a child window with the model's place, text and state.
TEST_F(WindowHostTest, StartUpScannedTheDriveBeforeShowing) {
    EXPECT_TRUE(IsWindowEnabled(Child("Label_telecharger_vlc")));
    EXPECT_FALSE(IsWindowEnabled(Child("Label_supprimer_vlc")));
    EXPECT_FALSE(GetWindowLongW(Child("Picture_vlc"), GWL_STYLE) & WS_VISIBLE);
    EXPECT_TRUE(GetWindowLongW(Child("Picture_sumatra_pdf"), GWL_STYLE) & WS_VISIBLE);
}

TEST_F(WindowHostTest, ChildWindowsMirrorTheModel) {
    int shown = 0;
    for (int i = 0; i < form_.Count(); ++i) {
        const Control& control = form_.At(i);
        if (!IsShownKind(control.kind)) {
            EXPECT_EQ(children_.count(ControlWindowId(i)), 0u) << control.name;
            continue;
        }
        ++shown;
        SCOPED_TRACE(control.name);
        HWND child = children_[ControlWindowId(i)];
        ASSERT_NE(child, nullptr);
        const RECT rect = RectInParent(child);
        EXPECT_EQ(rect.left, control.rect.left);
        EXPECT_EQ(rect.top, control.rect.top);
        EXPECT_EQ(rect.right - rect.left, control.rect.width);
        EXPECT_EQ(rect.bottom - rect.top, control.rect.height);
        EXPECT_EQ((GetWindowLongW(child, GWL_STYLE) & WS_VISIBLE) != 0, control.visible);
        EXPECT_EQ(IsWindowEnabled(child) != FALSE, control.enabled);
        wchar_t text[256] = {};
        GetWindowTextW(child, text, 256);
        EXPECT_EQ(Narrow(text), control.caption);
        const int parent = control.parent == kNoParent ? 0 : ControlWindowId(control.parent);
        EXPECT_EQ(GetParent(child), parent == 0 ? main_ : children_[parent]);
    }
    EXPECT_EQ(static_cast<int>(children_.size()), shown);
}

// Every caption is drawn whole, inside its panel, clear of its neighbours.
void ExpectLabelsFitWithoutOverlapping(const Form1& form, WindowHost& host) {
    HDC dc = GetDC(nullptr);
    for (int i = 0; i < form.Count(); ++i) {
        const Control& label = form.At(i);
        if (label.kind != ControlKind::Label || label.parent == kNoParent) continue;
        if (label.widthLimit > 0) {
            HGDIOBJ old = SelectObject(dc, host.FontOfLabel(i));
            const std::wstring text = Widen(label.caption);
            SIZE extent{};
            GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &extent);
            SelectObject(dc, old);
            EXPECT_LE(extent.cx, label.rect.width) << label.name << " is cut off";
            EXPECT_GT(extent.cx, static_cast<int>(label.caption.size()) * 3) << label.name << " is unreadably narrow";
        }
        const Control& panel = form.At(label.parent);
        EXPECT_LE(label.rect.left + label.rect.width, panel.rect.width) << label.name;
        for (const Control& other : form.Controls()) {
            if (&other == &label || other.parent != label.parent || other.kind != ControlKind::Label) continue;
            const bool apart = label.rect.left + label.rect.width <= other.rect.left ||
                               other.rect.left + other.rect.width <= label.rect.left ||
                               label.rect.top + label.rect.height <= other.rect.top ||
                               other.rect.top + other.rect.height <= label.rect.top;
            EXPECT_TRUE(apart) << label.name << " / " << other.name;
        }
    }
    ReleaseDC(nullptr, dc);
}

TEST_F(WindowHostTest, LabelsFitTheirCaptionsWithoutOverlapping) {
    ExpectLabelsFitWithoutOverlapping(form_, host_);
}

// Whatever face the machine substitutes, however wide: a face that does not
// exist, a fixed-pitch one, and the default stretched far beyond its shape.
TEST(WindowHostFonts, LabelsFitWhateverTheMachinesFonts) {
    const LabelTypeface faces[] = {{L"Police inexistante", 100}, {L"Courier New", 100}, {L"Tahoma", 170}};
    for (const LabelTypeface& face : faces) {
        SCOPED_TRACE(Narrow(face.face) + " " + std::to_string(face.widthPercent) + " %");
        Form1 form = BuildDesignForm1();
        Win32Platform platform{"C:\\windows\\fonts"};
        WindowHost host{GetModuleHandleW(nullptr), form, platform.services, face};
        ASSERT_TRUE(host.Create());
        PumpUntilReady(host.Handle());
        ExpectLabelsFitWithoutOverlapping(form, host);
        // A caption changed at run time is measured again.
        const std::string longer = "Cantarel Quiz et tous les questionnaires, chapitres et annexes (1 767 Mo)";
        form.SetCaption("Label_supprimer_quiz", longer);
        host.ShowModelChanges();
        ExpectLabelsFitWithoutOverlapping(form, host);
        DestroyWindow(host.Handle());
        Pump();
    }
}

TEST_F(WindowHostTest, ModelChangesReachTheWindowsAfterAnEvent) {
    HWND quiz = Child("Label_supprimer_quiz");
    EXPECT_FALSE(IsWindowEnabled(quiz));
    form_.SetEnabled("Label_supprimer_quiz", true);
    form_.SetCaption("Label_espace_disque", "Espace Libre : 1,5 Go");
    form_.SetVisible("Picture_desinstall_grand", true);
    // Any event mirrors what the handlers changed.
    SendMessageW(Child("Picture_lecture"), WM_MOUSEMOVE, 0, MAKELPARAM(3, 3));
    EXPECT_TRUE(IsWindowEnabled(quiz));
    EXPECT_TRUE(IsWindowVisible(quiz));
    wchar_t text[64] = {};
    GetWindowTextW(Child("Label_espace_disque"), text, 64);
    EXPECT_EQ(Narrow(text), "Espace Libre : 1,5 Go");
}

TEST_F(WindowHostTest, ReleasingTheButtonElsewhereIsNoClick) {
    HWND quit = Child("Picture_quitter");
    SendMessageW(quit, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(10, 10));
    SendMessageW(quit, WM_LBUTTONUP, 0, MAKELPARAM(300, 10));
    Pump();
    EXPECT_TRUE(IsWindow(main_));
    SendMessageW(quit, WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(10, 10));
    SendMessageW(quit, WM_RBUTTONUP, 0, MAKELPARAM(10, 10));
    Pump();
    EXPECT_TRUE(IsWindow(main_));
}

TEST_F(WindowHostTest, AClickOnTheQuitButtonEndsTheEventLoop) {
    HWND quit = Child("Picture_quitter");
    SendMessageW(quit, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(10, 10));
    SendMessageW(quit, WM_LBUTTONUP, 0, MAKELPARAM(10, 10));
    EXPECT_EQ(host_.Run(), 0);
    EXPECT_FALSE(IsWindow(main_));
}

TEST_F(WindowHostTest, TheCloseCommandEndsTheEventLoopTheSameWay) {
    PostMessageW(main_, WM_SYSCOMMAND, SC_CLOSE, 0);
    EXPECT_EQ(host_.Run(), 0);
    EXPECT_FALSE(IsWindow(main_));
}

// A handler that throws (here a picture whose image the model cannot find) is
// reported in a box; the exception never crosses the window procedure and the
// window goes on answering.
TEST(WindowHostGuard, AnExceptionInAHandlerIsReportedAndTheWindowGoesOn) {
    Form1 form = BuildDesignForm1();
    Win32Platform platform{"C:\\windows\\fonts"};
    FakeDialogs dialogs;
    const Services& s = platform.services;
    Services services{.appFolder = s.appFolder, .files = s.files, .events = s.events, .processes = s.processes,
                      .dialogs = dialogs, .shellLinks = s.shellLinks, .system = s.system, .disk = s.disk,
                      .unzip = s.unzip, .downloader = s.downloader, .textFiles = s.textFiles,
                      .environment = s.environment, .action = s.action};
    WindowHost host{GetModuleHandleW(nullptr), form, services};
    ASSERT_TRUE(host.Create());
    PumpUntilReady(host.Handle());
    form.imageStore.images.clear();
    std::map<int, HWND> children = ChildrenById(host.Handle());
    SendMessageW(children[ControlWindowId(form.IndexOf("Picture_lecture"))], WM_MOUSEMOVE, 0, MAKELPARAM(3, 3));
    ASSERT_EQ(dialogs.shown.size(), 1u);
    EXPECT_TRUE(dialogs.shown[0].text.starts_with("Une erreur inattendue s'est produite (no image Picture_lecture_"))
        << dialogs.shown[0].text;
    EXPECT_TRUE(dialogs.shown[0].text.ends_with(std::string(kSupportAddress) + "!"));
    EXPECT_TRUE(IsWindow(host.Handle()));
    EXPECT_EQ(SendMessageW(host.Handle(), WM_NULL, 0, 0), 0);
    DestroyWindow(host.Handle());
    Pump();
}

}  // namespace
