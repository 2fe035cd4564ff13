#include "app/shell_messages.h"

#include <dbt.h>

#include "files/win32_text.h"

namespace vortal {

std::optional<TrayClick> DecodeTrayMessage(LPARAM mouseMessage) {
  switch (static_cast<UINT>(mouseMessage)) {
    case WM_LBUTTONUP:
      return TrayClick::kLeft;
    case WM_LBUTTONDBLCLK:
      return TrayClick::kLeftDouble;
    case WM_RBUTTONUP:
      return TrayClick::kRight;
    default:
      return std::nullopt;
  }
}

std::optional<DecodedDeviceChange> DecodeDeviceChange(WPARAM event, LPARAM data) {
  if (event != DBT_DEVICEARRIVAL && event != DBT_DEVICEREMOVECOMPLETE) return std::nullopt;
  const auto* header = reinterpret_cast<const DEV_BROADCAST_HDR*>(data);
  if (!header || header->dbch_devicetype != DBT_DEVTYP_DEVICEINTERFACE) return std::nullopt;
  const auto* iface = reinterpret_cast<const DEV_BROADCAST_DEVICEINTERFACE_W*>(data);
  return DecodedDeviceChange{
      event == DBT_DEVICEARRIVAL ? DeviceChange::kArrival : DeviceChange::kRemoval,
      Narrow(iface->dbcc_name)};
}

}  // namespace vortal
