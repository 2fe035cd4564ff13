// The hidraw backend against a sysfs tree laid out in a temporary folder, with
// FIFOs standing in for the /dev/hidraw nodes (they carry reads, writes and
// poll() like the real nodes; only the feature ioctls need a real device).
#ifdef __linux__

#include "platform/hid_linux.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <thread>

#include "support/hid_descriptors.h"
#include "support/temp_dir.h"

namespace vortal {
namespace {

using namespace testing::descriptors;
using testing::TempDir;

constexpr const char* kMouseId = "0003:000004D9:0000A09F";

struct FakeNode {
  std::string name;
  std::string hidId;
  std::string phys;
  Bytes descriptor;
};

// /sys/class/hidraw and /dev inside one temporary folder.
class FakeSystem {
 public:
  explicit FakeSystem(const std::vector<FakeNode>& nodes) {
    for (const FakeNode& node : nodes) Add(node);
  }
  void Add(const FakeNode& node) {
    const std::string device = "class/" + node.name + "/device/";
    dir_.Write(device + "uevent", "DRIVER=hid-generic\nHID_ID=" + node.hidId + "\nHID_NAME=Gaming Mouse\nHID_PHYS=" +
                                      node.phys + "\nMODALIAS=hid:b0003\n");
    dir_.Write(device + "report_descriptor", node.descriptor);
  }
  // Makes /dev/NAME a FIFO and returns the test's own end of it.
  int MakeNode(const std::string& name) {
    const std::string path = dir_.MakeFolder("dev") + "/" + name;
    EXPECT_EQ(::mkfifo(path.c_str(), 0600), 0);
    int fd = ::open(path.c_str(), O_RDWR | O_CLOEXEC);
    EXPECT_GE(fd, 0);
    return fd;
  }
  std::string ClassDir() const { return dir_.File("class"); }
  std::string DevDir() const { return dir_.File("dev"); }

 private:
  TempDir dir_;
};

void Send(int fd, const Bytes& report) {
  ASSERT_EQ(::write(fd, report.data(), report.size()), static_cast<ssize_t>(report.size()));
}

// Waits until the backend has taken everything out of the FIFO, so that the
// next report is read on its own.
void WaitDrained(int fd) {
  for (int i = 0; i < 5000; ++i) {
    int pending = 0;
    ::ioctl(fd, FIONREAD, &pending);
    if (pending == 0) return;
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
  FAIL() << "report never read";
}

TEST(HidrawBackend, ChoosesTheMouseCollectionsAmongTheNodes) {
  Bytes broken = kCommandInterface;
  broken.pop_back();  // collection left open
  Bytes inputOnlyVendor = kEventInterface;
  inputOnlyVendor[1] = 0x00;  // page 0xFF00 ...
  inputOnlyVendor[4] = 0x00;  // ... usage 0xFF00, but no feature report
  struct Case {
    const char* name;
    std::vector<FakeNode> nodes;
    std::vector<std::string> scanned;    // node names ScanMouseNodes keeps, in order
    std::string commandNode, eventNode;  // empty: not found
    int commandCollection, eventCollection;
  } cases[] = {
      {"two interfaces beside a keyboard",
       {{"hidraw0", "0003:0000046D:0000C52B", "usb-1/input0", kBootKeyboard},
        {"hidraw3", kMouseId, "usb-0000:00:14.0-2/input1", kEventInterface},
        {"hidraw4", kMouseId, "usb-0000:00:14.0-2/input2", kCommandInterface}},
       {"hidraw3", "hidraw4"},
       "hidraw4",
       "hidraw3",
       0,
       0},
      {"both collections on one node",
       {{"hidraw1", kMouseId, "usb-3/input0", kCombinedNumbered}},
       {"hidraw1"},
       "hidraw1",
       "hidraw1",
       1,
       0},
      {"node numbers sort as numbers",
       {{"hidraw10", kMouseId, "usb-7/input1", kCommandInterface},
        {"hidraw9", kMouseId, "usb-5/input1", kCommandInterface},
        {"hidraw2", kMouseId, "usb-5/input0", kEventInterface}},
       {"hidraw2", "hidraw9", "hidraw10"},
       "hidraw9",
       "hidraw2",
       0,
       0},
      {"event collection of another mouse is not taken",
       {{"hidraw2", kMouseId, "usb-1/input0", kEventInterface},
        {"hidraw5", kMouseId, "usb-2/input1", kCommandInterface}},
       {"hidraw2", "hidraw5"},
       "hidraw5",
       "",
       0,
       -1},
      {"broken descriptor is passed over",
       {{"hidraw0", kMouseId, "usb-1/input0", kEventInterface},
        {"hidraw1", kMouseId, "usb-1/input1", broken}},
       {"hidraw0"},
       "",
       "",
       -1,
       -1},
      {"other product and garbled ids are passed over",
       {{"hidraw0", "0003:000004D9:0000A0A0", "usb-1/input1", kCommandInterface},
        {"hidraw1", "0003:04D9", "usb-1/input1", kCommandInterface},
        {"hidraw2", "0003:0000XYZ1:0000A09F", "usb-1/input1", kCommandInterface}},
       {},
       "",
       "",
       -1,
       -1},
      {"vendor collection without a feature report is no command collection",
       {{"hidraw0", kMouseId, "usb-1/input1", inputOnlyVendor}},
       {"hidraw0"},
       "",
       "",
       -1,
       -1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    FakeSystem system(c.nodes);
    std::vector<HidrawNode> nodes = ScanMouseNodes(system.ClassDir());
    std::vector<std::string> names;
    for (const HidrawNode& n : nodes) names.push_back(n.name);
    EXPECT_EQ(names, c.scanned);
    MouseCollections found = ChooseMouseCollections(nodes);
    auto nameOf = [&](int index) {
      return index < 0 ? std::string() : nodes[static_cast<std::size_t>(index)].name;
    };
    EXPECT_EQ(nameOf(found.commandNode), c.commandNode);
    EXPECT_EQ(nameOf(found.eventNode), c.eventNode);
    EXPECT_EQ(found.commandCollection, c.commandCollection);
    EXPECT_EQ(found.eventCollection, c.eventCollection);
  }
}

TEST(HidrawBackend, OpensBothCollectionsWithTheirReportLengths) {
  FakeSystem system({{"hidraw3", kMouseId, "usb-1/input1", kEventInterface},
                     {"hidraw4", kMouseId, "usb-1/input2", kCommandInterface}});
  int eventEnd = system.MakeNode("hidraw3");
  int commandEnd = system.MakeNode("hidraw4");
  OpenedMouse mouse = MakeHidrawBackend(system.ClassDir(), system.DevDir())->FindDevice();
  ASSERT_TRUE(mouse.command);
  ASSERT_TRUE(mouse.events);
  EXPECT_EQ(mouse.command->Lengths().feature, 9u);
  EXPECT_EQ(mouse.command->Lengths().input, 33u);
  EXPECT_EQ(mouse.command->Lengths().output, 33u);
  EXPECT_EQ(mouse.events->InputLength(), 8u);
  EXPECT_TRUE(mouse.problem.empty());

  // Events arrive with their report ID first, cut to the caller's room.
  struct EventCase {
    Bytes sent;
    std::size_t capacity;
    Bytes expected;
  } events[] = {
      {{6, 7, 0, 3, 0, 0, 0, 0}, 40, {6, 7, 0, 3, 0, 0, 0, 0}},
      {{6, 5, 0, 0xFF, 1, 2, 3, 4}, 4, {6, 5, 0, 0xFF}},
  };
  for (const EventCase& e : events) {
    Send(eventEnd, e.sent);
    std::vector<std::uint8_t> got(e.capacity, 0xEE);
    std::size_t n = mouse.events->ReadEvent(got.data(), got.size());
    got.resize(n);
    EXPECT_EQ(got, e.expected);
  }

  // The unnumbered command collection: hidraw hands out the data alone, the
  // port puts the report ID 0 in front as the system layout has it.
  Bytes data(32);
  for (std::size_t i = 0; i < data.size(); ++i) data[i] = static_cast<std::uint8_t>(0x40 + i);
  Send(commandEnd, data);
  std::vector<std::uint8_t> report(33, 0xEE);
  ASSERT_TRUE(mouse.command->ReadInput(report.data(), report.size()));
  EXPECT_EQ(report[0], 0);
  EXPECT_EQ(Bytes(report.begin() + 1, report.end()), data);

  // Output reports go out whole, report ID byte first (hidraw drops a 0 ID).
  Bytes output(33, 0);
  output[1] = 0x13;
  output[32] = 0x77;
  ASSERT_TRUE(mouse.command->WriteOutput(output.data(), output.size()));
  Bytes written(33);
  ASSERT_EQ(::read(commandEnd, written.data(), written.size()), 33);
  EXPECT_EQ(written, output);

  // A FIFO takes no feature ioctl: the failure is reported, the buffer kept.
  Bytes feature(9, 0xAB);
  EXPECT_FALSE(mouse.command->SetFeature(feature.data(), feature.size()));
  EXPECT_FALSE(mouse.command->GetFeature(feature.data(), feature.size()));
  EXPECT_EQ(feature, Bytes(9, 0xAB));
  ::close(eventEnd);
  ::close(commandEnd);
}

TEST(HidrawBackend, EventsOfTheOtherCollectionOnASharedNodeAreSkipped) {
  FakeSystem system({{"hidraw1", kMouseId, "usb-1/input0", kCombinedNumbered}});
  int end = system.MakeNode("hidraw1");
  OpenedMouse mouse = MakeHidrawBackend(system.ClassDir(), system.DevDir())->FindDevice();
  ASSERT_TRUE(mouse.command && mouse.events);
  EXPECT_EQ(mouse.events->InputLength(), 4u);

  std::size_t n = 99;
  std::uint8_t got[40] = {};
  std::thread reader([&] { n = mouse.events->ReadEvent(got, sizeof got); });
  Send(end, {2, 0xAA, 0xAA, 0xAA});  // the command collection's input report 2
  WaitDrained(end);
  Send(end, {6, 8, 0, 2});
  reader.join();
  ASSERT_EQ(n, 4u);
  EXPECT_EQ(Bytes(got, got + 4), Bytes({6, 8, 0, 2}));
  ::close(end);
}

TEST(HidrawBackend, WaitingReadEndsOnCancelAndOnUnplug) {
  FakeSystem system({{"hidraw3", kMouseId, "usb-1/input1", kEventInterface},
                     {"hidraw4", kMouseId, "usb-1/input2", kCommandInterface}});
  int eventEnd = system.MakeNode("hidraw3");
  int commandEnd = system.MakeNode("hidraw4");
  auto backend = MakeHidrawBackend(system.ClassDir(), system.DevDir());

  // Cancel from another thread: the read returns 0, and so does every later one.
  OpenedMouse mouse = backend->FindDevice();
  ASSERT_TRUE(mouse.events);
  std::uint8_t buffer[40];
  std::thread stopper([&] {
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    mouse.events->Cancel();
  });
  EXPECT_EQ(mouse.events->ReadEvent(buffer, sizeof buffer), 0u);
  stopper.join();
  Send(eventEnd, {6, 7, 0, 1, 0, 0, 0, 0});
  EXPECT_EQ(mouse.events->ReadEvent(buffer, sizeof buffer), 0u);

  // The node going away (here: its last writer) ends a waiting read with 0.
  OpenedMouse second = backend->FindDevice();
  ASSERT_TRUE(second.events);
  std::uint8_t unread[8];
  ASSERT_EQ(::read(eventEnd, unread, sizeof unread), 8);  // the report nobody took
  mouse = {};
  std::thread unplug([&] {
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    ::close(eventEnd);
  });
  EXPECT_EQ(second.events->ReadEvent(buffer, sizeof buffer), 0u);
  unplug.join();

  // A report still queued when the node goes (hidraw then reports POLLIN and
  // POLLHUP together) is handed out before the read ends.
  int writer = ::open((system.DevDir() + "/hidraw3").c_str(), O_WRONLY | O_CLOEXEC);
  ASSERT_GE(writer, 0);
  Send(writer, {6, 9, 0, 2, 0, 0, 0, 0});
  ::close(writer);
  ASSERT_EQ(second.events->ReadEvent(buffer, sizeof buffer), 8u);
  EXPECT_EQ(Bytes(buffer, buffer + 8), Bytes({6, 9, 0, 2, 0, 0, 0, 0}));
  EXPECT_EQ(second.events->ReadEvent(buffer, sizeof buffer), 0u);
  ::close(commandEnd);
}

TEST(HidrawBackend, SilentMouseDoesNotHangACommandRead) {
  FakeSystem system({{"hidraw4", kMouseId, "usb-1/input2", kCommandInterface}});
  int end = system.MakeNode("hidraw4");
  OpenedMouse mouse = MakeHidrawBackend(system.ClassDir(), system.DevDir())->FindDevice();
  ASSERT_TRUE(mouse.command);
  EXPECT_FALSE(mouse.events);
  Bytes report(33, 0x5A);
  EXPECT_FALSE(mouse.command->ReadInput(report.data(), report.size()));
  EXPECT_EQ(report, Bytes(33, 0x5A));
  ::close(end);
}

TEST(HidrawBackend, NodeThatCannotBeOpenedIsReported) {
  FakeSystem system({{"hidraw4", kMouseId, "usb-1/input2", kCommandInterface}});
  // no /dev node at all
  OpenedMouse mouse = MakeHidrawBackend(system.ClassDir(), system.DevDir())->FindDevice();
  EXPECT_FALSE(mouse.command);
  EXPECT_EQ(mouse.problem.rfind("Cannot open " + system.DevDir() + "/hidraw4: ", 0), 0u) << mouse.problem;
}

}  // namespace
}  // namespace vortal

#endif  // __linux__
