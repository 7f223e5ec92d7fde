#pragma once

#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "platform/main_window.h"
#include "platform/services.h"
#include "app/image_cache.h"
#include "app/progress_strip.h"
#include "platform/win32/win32_long_action.h"
#include "window/form1.h"
#include "window/form1_events.h"
#include "window/label_fit.h"

// The face labels are drawn in; a width above 100 % draws it wider than its
// own proportions (tests use that to stand for a machine with wider fonts).
struct LabelTypeface {
    std::wstring face = L"Tahoma";
    int widthPercent = 100;
};

// Mirrors the Form1 model into a real main window with one child window per
// shown control, and routes the children's mouse input to Form1Events.
class WindowHost : public MainWindow {
public:
    WindowHost(HINSTANCE instance, Form1& form, Services& services, LabelTypeface typeface = {});
    ~WindowHost() override;

    // Runs start-up on the model, creates every window and shows the main one.
    bool Create();
    // The event loop; returns when the main window has been closed.
    int Run();

    HWND Handle() const { return main_; }
    // The font a label is drawn in.
    HFONT FontOfLabel(int index) { return Font(labelFonts_[index]); }

    // Applies to the child windows what the handlers changed in the model.
    void ShowModelChanges() { Mirror(); }

    void Close() override;

    // The long actions' work runs through `action`: the window shows their
    // progress, offers to stop them, and asks before closing during one.
    void AttachAction(Win32LongAction& action);

private:
    static LRESULT CALLBACK MainProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    static LRESULT CALLBACK ControlProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    template <typename Handler>
    LRESULT Guarded(Handler handler);
    LRESULT OnMainMessage(UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT OnControlMessage(int index, HWND window, UINT message, WPARAM wParam, LPARAM lParam);

    // Chooses the font and width of a label from its caption and its room.
    void FitLabel(int index);
    LabelFont DesignFont(int index) const;
    HFONT Font(const LabelFont& font);
    // Creates the child window of a control (its label fitted first).
    void CreateControlWindow(int index);
    void ContinueStartup();
    void OrderControlWindows();
    void AddTooltip(int index);
    void OnButtonUp(int index, HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    // Applies to the child windows what the handlers changed in the model.
    void Mirror();

    void PaintMain(HDC dc);
    void PaintControl(int index, HDC dc, SIZE size);
    void PaintImage(HDC dc, const std::string& image, int x, int y, int width, int height);
    void PaintDecorationBehind(int index, HDC dc);
    void PaintText(int index, HDC dc, SIZE size);
    void ShowActionProgress();
    // A close asked for while an action runs: stop it and close after, or not.
    bool AskToStopAction();

    HINSTANCE instance_;
    Form1& form_;
    Services& services_;
    Form1Events events_;
    HWND main_ = nullptr;
    HWND tooltip_ = nullptr;
    std::vector<HWND> windows_;
    std::vector<Control> applied_;  // what each child window shows now
    LabelTypeface typeface_;
    std::vector<LabelFont> labelFonts_;                // the font each label is drawn in
    std::vector<std::pair<LabelFont, HFONT>> fonts_;  // every font made so far
    HCURSOR hand_ = nullptr;
    ImageCache images_;
    bool closePending_ = false;  // a close asked for while an action ran
    Win32LongAction* action_ = nullptr;
    int nextWindow_ = 0;       // start-up: the next control whose window may be missing
    bool tooltipsAdded_ = false;
    int nextStartupStep_ = 0;  // start-up: its next step after the first frame
    std::unique_ptr<ProgressStrip> strip_;
};
