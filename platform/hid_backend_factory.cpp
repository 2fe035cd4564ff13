#include "platform/hid_backend_factory.h"

#include "platform/virtual_mouse.h"

#ifdef _WIN32
#include "platform/hid_win32.h"
#else
#include "platform/hid_linux.h"
#endif

namespace vortal {

std::unique_ptr<HidBackend> MakeSystemHidBackend() {
#ifdef _WIN32
  return MakeWin32HidBackend();
#else
  return MakeHidrawBackend();
#endif
}

std::unique_ptr<HidBackend> MakeHidBackend() {
  if (auto virtualMouse = MakeVirtualBackendFromEnvironment()) return virtualMouse;
  return MakeSystemHidBackend();
}

}  // namespace vortal
