#include "app/file_dialog_win32.h"

// clang-format off
#include <windows.h>
#include <commdlg.h>
// clang-format on

#include <algorithm>
#include <vector>

#include "files/win32_text.h"

namespace vortal {

std::optional<std::string> RunFileDialog(HWND owner, const FileDialogRequest& request) {
  // The filter is pairs of NUL-ended strings, the list ended by one more NUL.
  std::wstring filter = Widen(request.filterName);
  filter.push_back(L'\0');
  filter += Widen(request.pattern);
  filter.push_back(L'\0');
  const std::wstring title = Widen(request.title);
  const std::wstring extension = Widen(request.defaultExtension);

  // Room for any path the system allows.
  std::vector<wchar_t> file(32768, L'\0');
  const std::wstring suggested = Widen(request.suggestedName);
  suggested.copy(file.data(), std::min(suggested.size(), file.size() - 1));

  OPENFILENAMEW dialog{};
  dialog.lStructSize = sizeof dialog;
  dialog.hwndOwner = owner;
  dialog.lpstrFilter = filter.c_str();
  dialog.nFilterIndex = 1;
  dialog.lpstrFile = file.data();
  dialog.nMaxFile = static_cast<DWORD>(file.size());
  dialog.lpstrTitle = title.c_str();
  dialog.lpstrDefExt = extension.empty() ? nullptr : extension.c_str();
  // The program finds its own files from its path, but a changed working
  // folder would still surprise whatever opens a relative path later.
  dialog.Flags = OFN_EXPLORER | OFN_PATHMUSTEXIST | OFN_NOCHANGEDIR | OFN_HIDEREADONLY;
  BOOL chosen = FALSE;
  if (request.kind == FileDialogKind::kSaveAs) {
    dialog.Flags |= OFN_OVERWRITEPROMPT;
    chosen = GetSaveFileNameW(&dialog);
  } else {
    dialog.Flags |= OFN_FILEMUSTEXIST;
    chosen = GetOpenFileNameW(&dialog);
  }
  if (!chosen) return std::nullopt;
  return Narrow(file.data());
}

}  // namespace vortal
