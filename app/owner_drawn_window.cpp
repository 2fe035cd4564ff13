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

void ShowMessageOver(HWND owner, const std::string& text, const std::string& caption) {
  const std::wstring wideCaption = Widen(caption);
  ProgramStateLog().Write("message opened", text);
  MessageBoxW(owner, Widen(text).c_str(), caption.empty() ? nullptr : wideCaption.c_str(), MB_OK);
  ProgramStateLog().Write("message closed");
}

}  // namespace vortal
