#include "app/owner_drawn_window.h"

// clang-format off
#include <windows.h>
#include <commdlg.h>
// clang-format on

#include <cstring>

#include "app/state_log.h"
#include "files/win32_text.h"

namespace vortal {

std::vector<WORD> DialogTemplate(const DialogTemplateSpec& spec) {
  std::vector<WORD> words(sizeof(DLGTEMPLATE) / sizeof(WORD), 0);
  DLGTEMPLATE header{};
  header.style = spec.style | (spec.font ? DS_SETFONT : 0);
  header.dwExtendedStyle = spec.exStyle;
  header.cx = spec.width;
  header.cy = spec.height;
  std::memcpy(words.data(), &header, sizeof header);
  auto append = [&](const wchar_t* text) {
    for (; *text; ++text) words.push_back(static_cast<WORD>(*text));
    words.push_back(0);
  };
  words.push_back(0);  // no menu
  append(spec.windowClass);
  append(L"");  // no title
  if (spec.font) {
    words.push_back(spec.fontPoints);
    append(spec.font);
  }
  return words;
}

std::optional<Color> ChooseColorOver(HWND owner) {
  static COLORREF custom[16] = {};
  CHOOSECOLORW choose{};
  choose.lStructSize = sizeof choose;
  choose.hwndOwner = owner;
  choose.lpCustColors = custom;
  ProgramStateLog().Write("dialog opened", "colour");
  const bool chosen = ::ChooseColorW(&choose) != FALSE;
  ProgramStateLog().Write("dialog closed", chosen ? "colour ok" : "colour cancel");
  if (!chosen) return std::nullopt;
  return Color{GetRValue(choose.rgbResult), GetGValue(choose.rgbResult), GetBValue(choose.rgbResult)};
}

std::optional<KeyPress> KeyPressOf(WPARAM virtualKey) {
  // Alt's keys are the system's (menus, Alt+Tab, Alt+F4).
  if ((GetKeyState(VK_MENU) & 0x8000) != 0) return std::nullopt;
  KeyPress press;
  press.shift = (GetKeyState(VK_SHIFT) & 0x8000) != 0;
  press.ctrl = (GetKeyState(VK_CONTROL) & 0x8000) != 0;
  static constexpr struct {
    WPARAM virtualKey;
    Key key;
  } kKeys[] = {{VK_TAB, Key::kTab},     {VK_LEFT, Key::kLeft},       {VK_RIGHT, Key::kRight},
               {VK_UP, Key::kUp},       {VK_DOWN, Key::kDown},       {VK_HOME, Key::kHome},
               {VK_END, Key::kEnd},     {VK_PRIOR, Key::kPageUp},    {VK_NEXT, Key::kPageDown},
               {VK_SPACE, Key::kSpace}, {VK_RETURN, Key::kEnter},    {VK_ESCAPE, Key::kEscape}};
  for (const auto& entry : kKeys) {
    if (entry.virtualKey != virtualKey) continue;
    press.key = entry.key;
    return press;
  }
  if ((virtualKey < 'A' || virtualKey > 'Z') && (virtualKey < '0' || virtualKey > '9')) return std::nullopt;
  press.key = Key::kCharacter;
  press.character = static_cast<char>(virtualKey);
  return press;
}

void ShowMessageOver(HWND owner, const std::string& text, const std::string& caption) {
  const std::wstring wideCaption = Widen(caption);
  ProgramStateLog().Write("message opened", text);
  MessageBoxW(owner, Widen(text).c_str(), caption.empty() ? nullptr : wideCaption.c_str(), MB_OK);
  ProgramStateLog().Write("message closed");
}

}  // namespace vortal
