#include "ui/win32/Win32InputBox.h"

#include "core/WideText.h"
#include "ui/win32/Win32Control.h"

#include <vector>

namespace tollen::ui::win32 {
namespace {

constexpr WORD kPromptId = 100;
constexpr WORD kTextId = 101;
/// The predefined classes of a dialog template's items.
constexpr WORD kButtonAtom = 0x0080;
constexpr WORD kEditAtom = 0x0081;
constexpr WORD kStaticAtom = 0x0082;

/// An in-memory dialog template: the header, then each item aligned to a double word.
class DialogTemplate
{
public:
    DialogTemplate(const std::wstring &title, short width, short height)
    {
        const DWORD style =
            DS_MODALFRAME | DS_SETFONT | DS_CENTER | WS_POPUP | WS_CAPTION | WS_SYSMENU;
        addDoubleWord(style);
        addDoubleWord(0);
        m_countAt = m_words.size();
        add(0);
        for (const short value : {short{0}, short{0}, width, height}) {
            add(static_cast<WORD>(value));
        }
        add(0); // no menu
        add(0); // the standard dialog class
        addText(title);
        add(8);
        addText(L"MS Shell Dlg");
    }

    void addItem(WORD classAtom, WORD id, DWORD style, const RECT &place,
                 const std::wstring &text = {})
    {
        while (m_words.size() % 2 != 0) {
            add(0);
        }
        addDoubleWord(style | WS_CHILD | WS_VISIBLE);
        addDoubleWord(0);
        for (const LONG value : {place.left, place.top, place.right, place.bottom}) {
            add(static_cast<WORD>(value));
        }
        add(id);
        add(0xFFFF);
        add(classAtom);
        addText(text);
        add(0); // no creation data
        ++m_words[m_countAt];
    }

    const DLGTEMPLATE *get() const { return reinterpret_cast<const DLGTEMPLATE *>(m_words.data()); }

private:
    void add(WORD word) { m_words.push_back(word); }
    void addDoubleWord(DWORD value)
    {
        add(LOWORD(value));
        add(HIWORD(value));
    }
    void addText(const std::wstring &text)
    {
        m_words.insert(m_words.end(), text.begin(), text.end());
        add(0);
    }

    std::vector<WORD> m_words;
    std::size_t m_countAt = 0;
};

struct InputBoxState
{
    std::wstring prompt;
    std::wstring text;
    bool accepted = false;
};

INT_PTR CALLBACK inputBoxProcedure(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam)
{
    auto *state = reinterpret_cast<InputBoxState *>(GetWindowLongPtrW(dialog, DWLP_USER));
    switch (message) {
    case WM_INITDIALOG:
        state = reinterpret_cast<InputBoxState *>(lParam);
        SetWindowLongPtrW(dialog, DWLP_USER, lParam);
        SetDlgItemTextW(dialog, kPromptId, state->prompt.c_str());
        SetDlgItemTextW(dialog, kTextId, state->text.c_str());
        SendDlgItemMessageW(dialog, kTextId, EM_SETSEL, 0, -1);
        SetFocus(GetDlgItem(dialog, kTextId));
        return FALSE;
    case WM_COMMAND:
        if (LOWORD(wParam) == IDOK) {
            HWND box = GetDlgItem(dialog, kTextId);
            state->text = wideFromUtf8(windowText(box));
            state->accepted = true;
            EndDialog(dialog, IDOK);
            return TRUE;
        }
        if (LOWORD(wParam) == IDCANCEL) {
            EndDialog(dialog, IDCANCEL);
            return TRUE;
        }
        return FALSE;
    default:
        return FALSE;
    }
}

} // namespace

std::string showInputBox(HWND owner, const std::string &prompt, const std::string &title,
                         const std::string &defaultText)
{
    // Dialog units: the prompt over the text box, the buttons at the bottom right.
    DialogTemplate form(wideFromUtf8(title), 240, 74);
    form.addItem(kStaticAtom, kPromptId, SS_LEFT | SS_NOPREFIX, RECT{7, 7, 226, 24});
    form.addItem(kEditAtom, kTextId, ES_AUTOHSCROLL | WS_BORDER | WS_TABSTOP, RECT{7, 34, 226, 12});
    form.addItem(kButtonAtom, IDOK, BS_DEFPUSHBUTTON | WS_TABSTOP, RECT{129, 53, 50, 14}, L"OK");
    form.addItem(kButtonAtom, IDCANCEL, BS_PUSHBUTTON | WS_TABSTOP, RECT{183, 53, 50, 14},
                 L"Cancel");
    InputBoxState state{wideFromUtf8(prompt), wideFromUtf8(defaultText), false};
    DialogBoxIndirectParamW(GetModuleHandleW(nullptr), form.get(), owner, inputBoxProcedure,
                            reinterpret_cast<LPARAM>(&state));
    return state.accepted ? utf8FromWide(state.text) : std::string();
}

} // namespace tollen::ui::win32
