#include "platform/hid_backend_factory.h"

#include "platform/virtual_mouse.h"

#ifdef _WIN32
#include "platform/hid_win32.h"
#else
#include "platform/hid_linux.h"
#endif

namespace vortal {

std::unique_ptr<HidBackend> MakeSystemHidBackend(UserMessages* messages) {
#ifdef _WIN32
  return MakeWin32HidBackend(messages);
#else
  return MakeHidrawBackend(messages);
#endif
}

std::unique_ptr<HidBackend> MakeHidBackend(UserMessages* messages) {
  if (auto virtualMouse = MakeVirtualBackendFromEnvironment()) return virtualMouse;
  return MakeSystemHidBackend(messages);
}

}  // namespace vortal
