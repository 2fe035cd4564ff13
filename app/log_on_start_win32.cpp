#include "app/log_on_start_win32.h"

#include <windows.h>
#include <objbase.h>
#include <shlobj.h>
#include <shobjidl.h>

namespace vortal {
namespace {

// An interface pointer released when it goes.
template <typename T>
struct Com {
  T* p = nullptr;
  ~Com() {
    if (p) p->Release();
  }
  T* operator->() const { return p; }
};

bool MakeLink(Com<IShellLinkW>& link, Com<IPersistFile>& file) {
  if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                              reinterpret_cast<void**>(&link.p))))
    return false;
  return SUCCEEDED(link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file.p)));
}

}  // namespace

std::wstring LogOnShortcutPath() {
  PWSTR folder = nullptr;
  std::wstring path;
  if (SUCCEEDED(SHGetKnownFolderPath(FOLDERID_Startup, KF_FLAG_CREATE, nullptr, &folder)))
    path = std::wstring(folder) + L"\\Vortal.lnk";
  CoTaskMemFree(folder);
  return path;
}

bool WriteShortcut(const std::wstring& shortcut, const std::wstring& target) {
  Com<IShellLinkW> link;
  Com<IPersistFile> file;
  if (shortcut.empty() || !MakeLink(link, file)) return false;
  const std::wstring folder = target.substr(0, target.find_last_of(L"\\/"));
  return SUCCEEDED(link->SetPath(target.c_str())) && SUCCEEDED(link->SetWorkingDirectory(folder.c_str())) &&
         SUCCEEDED(link->SetDescription(L"Gaming mouse setting")) &&
         SUCCEEDED(file->Save(shortcut.c_str(), TRUE));
}

std::optional<std::wstring> ShortcutTarget(const std::wstring& shortcut) {
  if (shortcut.empty() || GetFileAttributesW(shortcut.c_str()) == INVALID_FILE_ATTRIBUTES) return std::nullopt;
  Com<IShellLinkW> link;
  Com<IPersistFile> file;
  if (!MakeLink(link, file) || FAILED(file->Load(shortcut.c_str(), STGM_READ))) return std::nullopt;
  wchar_t target[MAX_PATH] = {};
  if (link->GetPath(target, MAX_PATH, nullptr, SLGP_RAWPATH) != S_OK) return std::nullopt;
  return std::wstring(target);
}

bool SamePath(const std::wstring& a, const std::wstring& b) {
  return CompareStringOrdinal(a.c_str(), static_cast<int>(a.size()), b.c_str(), static_cast<int>(b.size()),
                              TRUE) == CSTR_EQUAL;
}

}  // namespace vortal
