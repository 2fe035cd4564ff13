// The mouse through Linux hidraw: the nodes are found in sysfs, their report
// descriptors tell which node carries which collection.
#pragma once

#include <cstddef>
#include <memory>
#include <string>
#include <vector>

#include "device/hid_port.h"
#include "device/hid_report_descriptor.h"

namespace vortal {

// One hidraw node of the mouse.
struct HidrawNode {
  std::string name;  // "hidraw3"
  std::string phys;  // HID_PHYS of its uevent: the port and interface it hangs on
  HidReportDescriptor descriptor;
};

// The mouse's hidraw nodes under `classDir` (normally /sys/class/hidraw), in
// node-number order. Nodes of other devices, and nodes whose descriptor cannot
// be read or parsed, are left out.
std::vector<HidrawNode> ScanMouseNodes(const std::string& classDir);

// Where the two vendor collections are: node and collection indexes, -1 when
// absent. The event collection is taken from the command collection's own
// device when that has one, so that two mice never get mixed up.
struct MouseCollections {
  int commandNode = -1;
  int commandCollection = -1;
  int eventNode = -1;
  int eventCollection = -1;
};
MouseCollections ChooseMouseCollections(const std::vector<HidrawNode>& nodes);

// The system backend: scans `classDir` and opens the nodes under `deviceDir`.
// A command node that exists but cannot be opened (usually missing
// permissions) is told in the found mouse's `problem`.
std::unique_ptr<HidBackend> MakeHidrawBackend(std::string classDir = "/sys/class/hidraw",
                                              std::string deviceDir = "/dev");

}  // namespace vortal
