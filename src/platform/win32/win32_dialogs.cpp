#include "platform/win32/win32_dialogs.h"

#include <string>
#include <vector>

#include "platform/win32/wide_text.h"

namespace {

constexpr std::string_view kApplicationTitle = "Cantarel Portable";

// The input box's controls.
constexpr WORD kPromptId = 101;
constexpr WORD kEditId = 102;

struct InputState {
    std::wstring prompt;
    std::wstring title;
    std::wstring answer;
};

// A dialog template in memory: header, then each item, DWORD-aligned.
class DialogTemplate {
public:
    DialogTemplate(const wchar_t* font, WORD points, short width, short height, WORD items) {
        DLGTEMPLATE header{};
        header.style = DS_MODALFRAME | DS_SETFONT | DS_CENTER | WS_POPUP | WS_CAPTION | WS_SYSMENU;
        header.cdit = items;
        header.cx = width;
        header.cy = height;
        Append(&header, sizeof header);
        Word(0);  // no menu
        Word(0);  // the standard dialog class
        Word(0);  // no title yet: set when the box opens
        Word(points);
        Text(font);
    }

    void Item(WORD id, WORD atom, DWORD style, short x, short y, short width, short height, const wchar_t* text) {
        while (words_.size() % 2) Word(0);
        DLGITEMTEMPLATE item{};
        item.style = style | WS_CHILD | WS_VISIBLE;
        item.x = x;
        item.y = y;
        item.cx = width;
        item.cy = height;
        item.id = id;
        Append(&item, sizeof item);
        Word(0xFFFF);
        Word(atom);
        Text(text);
        Word(0);  // no creation data
    }

    LPCDLGTEMPLATEW Get() const { return reinterpret_cast<LPCDLGTEMPLATEW>(words_.data()); }

private:
    void Word(WORD word) { words_.push_back(word); }
    void Text(const wchar_t* text) {
        for (; *text; ++text) Word(static_cast<WORD>(*text));
        Word(0);
    }
    void Append(const void* data, std::size_t size) {
        const WORD* words = static_cast<const WORD*>(data);
        words_.insert(words_.end(), words, words + size / sizeof(WORD));
    }
    std::vector<WORD> words_;  // WORD-aligned, and the header starts DWORD-aligned
};

INT_PTR CALLBACK InputProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_INITDIALOG: {
            auto* state = reinterpret_cast<InputState*>(lParam);
            SetWindowLongPtrW(dialog, DWLP_USER, lParam);
            SetWindowTextW(dialog, state->title.c_str());
            SetDlgItemTextW(dialog, kPromptId, state->prompt.c_str());
            SendDlgItemMessageW(dialog, kEditId, EM_LIMITTEXT, 1024, 0);
            SetFocus(GetDlgItem(dialog, kEditId));
            return FALSE;  // focus set here
        }
        case WM_COMMAND:
            if (LOWORD(wParam) == IDOK) {
                auto* state = reinterpret_cast<InputState*>(GetWindowLongPtrW(dialog, DWLP_USER));
                const int length = GetWindowTextLengthW(GetDlgItem(dialog, kEditId));
                state->answer.assign(length + 1, L'\0');
                GetDlgItemTextW(dialog, kEditId, state->answer.data(), length + 1);
                state->answer.resize(length);
                EndDialog(dialog, IDOK);
                return TRUE;
            }
            if (LOWORD(wParam) == IDCANCEL) {
                EndDialog(dialog, IDCANCEL);
                return TRUE;
            }
            break;
    }
    return FALSE;
}

}  // namespace

int Win32Dialogs::Message(std::string_view text, std::string_view title, unsigned style) {
    if (before_) before_();
    const std::wstring wideText = Widen(text);
    const std::wstring wideTitle = Widen(title.empty() ? kApplicationTitle : title);
    return MessageBoxW(owner_, wideText.c_str(), wideTitle.c_str(), style);
}

// A prompt, OK and Annuler on the right, the answer's line below, as the
// classic input box lays them out (dialog units).
std::optional<std::string> Win32Dialogs::Input(std::string_view prompt, std::string_view title) {
    if (before_) before_();
    DialogTemplate form(L"MS Shell Dlg", 8, 240, 82, 4);
    form.Item(kPromptId, 0x0082, SS_LEFT | SS_NOPREFIX, 7, 7, 170, 44, L"");
    form.Item(IDOK, 0x0080, BS_DEFPUSHBUTTON | WS_TABSTOP, 184, 7, 50, 14, L"OK");
    form.Item(IDCANCEL, 0x0080, BS_PUSHBUTTON | WS_TABSTOP, 184, 25, 50, 14, L"Annuler");
    form.Item(kEditId, 0x0081, ES_AUTOHSCROLL | WS_BORDER | WS_TABSTOP, 7, 60, 226, 14, L"");

    InputState state{Widen(prompt), Widen(title.empty() ? kApplicationTitle : title), {}};
    const INT_PTR answer = DialogBoxIndirectParamW(GetModuleHandleW(nullptr), form.Get(), owner_, InputProc,
                                                   reinterpret_cast<LPARAM>(&state));
    if (answer != IDOK) return std::nullopt;
    return Narrow(state.answer);
}
