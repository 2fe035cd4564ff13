// The platform's own HID backend on this machine. Test machines have no such
// mouse: the search must go through every HID interface the system lists and
// come back empty, without a message box.
#include <gtest/gtest.h>

#include "platform/hid_backend_factory.h"

#ifdef _WIN32
#include <windows.h>

#include <string>
#include <vector>

#include "platform/hid_win32.h"
#endif

namespace vortal {
namespace {

TEST(SystemHidBackend, SearchWithoutTheMouseOpensNothingAndShowsNothing) {
  auto backend = MakeSystemHidBackend();
  ASSERT_TRUE(backend);
  OpenedMouse mouse = backend->FindDevice();
  if (mouse.command) GTEST_SKIP() << "a mouse of this kind is plugged in";
  EXPECT_FALSE(mouse.events);
  EXPECT_TRUE(mouse.problem.empty());
  // A second search after the first leaves no state behind.
  EXPECT_FALSE(backend->FindDevice().command);
}

#ifdef _WIN32
TEST(Win32HidBackend, FindsBothCollectionsInAnyOrder) {
  const HidInterfaceCaps command{L"cmd", 0xFF00, 0xFF00, {9, 33, 33}};
  const HidInterfaceCaps events{L"evt", 0xFF01, 0xFF01, {0, 8, 0}};
  const HidInterfaceCaps noFeature{L"vendor", 0xFF00, 0xFF00, {0, 33, 33}};
  const HidInterfaceCaps noInput{L"vendor", 0xFF01, 0xFF01, {9, 0, 0}};
  // Two mice plugged in, each with its own container.
  const HidInterfaceCaps commandA{L"cmd", 0xFF00, 0xFF00, {9, 33, 33}, L"A"};
  const HidInterfaceCaps eventsA{L"evt", 0xFF01, 0xFF01, {0, 8, 0}, L"A"};
  const HidInterfaceCaps eventsB{L"evt", 0xFF01, 0xFF01, {0, 8, 0}, L"B"};
  struct Case {
    const char* name;
    std::vector<HidInterfaceCaps> interfaces;
    int command, events;
  } cases[] = {
      {"event collection listed first", {events, command}, 1, 0},
      {"event collection listed after the command collection", {command, events}, 0, 1},
      {"the first of each kind", {noFeature, command, noInput, events, command, events}, 1, 3},
      {"vendor collections without their reports are neither", {noFeature, noInput}, -1, -1},
      {"event collection alone", {events}, -1, 0},
      {"the event collection of the same mouse, listed after another's", {eventsB, commandA, eventsA}, 1, 2},
      {"no container shared: the first event collection", {eventsB, commandA}, 1, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const MouseInterfaces chosen = ChooseMouseInterfaces(c.interfaces);
    EXPECT_EQ(chosen.command, c.command);
    EXPECT_EQ(chosen.events, c.events);
  }
}

// A pipe stands in for the command collection's overlapped handle: a reply
// that never comes must not hold the caller for good.
TEST(Win32HidBackend, CommandTransfersEndWhenTheMouseFallsSilent) {
  const std::wstring name = L"\\\\.\\pipe\\vortal-hid-test-" + std::to_wstring(GetCurrentProcessId());
  HANDLE server = CreateNamedPipeW(name.c_str(), PIPE_ACCESS_DUPLEX | FILE_FLAG_OVERLAPPED,
                                   PIPE_TYPE_BYTE, 1, 64, 64, 0, nullptr);
  ASSERT_NE(server, INVALID_HANDLE_VALUE);
  HANDLE client = CreateFileW(name.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                              FILE_FLAG_OVERLAPPED, nullptr);
  ASSERT_NE(client, INVALID_HANDLE_VALUE);
  HANDLE event = CreateEventW(nullptr, TRUE, FALSE, nullptr);

  std::vector<std::uint8_t> buffer(33, 0x5A);
  EXPECT_EQ(TransferWithin(client, event, false, buffer.data(), buffer.size(), 50), -1);
  EXPECT_EQ(buffer, std::vector<std::uint8_t>(33, 0x5A));

  // The cancelled read took nothing: the next report is read whole.
  std::vector<std::uint8_t> report(33);
  for (std::size_t i = 0; i < report.size(); ++i) report[i] = static_cast<std::uint8_t>(i);
  EXPECT_EQ(TransferWithin(server, event, true, report.data(), report.size(), 1000), 33);
  EXPECT_EQ(TransferWithin(client, event, false, buffer.data(), buffer.size(), 1000), 33);
  EXPECT_EQ(buffer, report);

  // A handle that went away fails at once.
  CloseHandle(server);
  EXPECT_EQ(TransferWithin(client, event, false, buffer.data(), buffer.size(), 1000), -1);
  CloseHandle(client);
  CloseHandle(event);
}
#endif

}  // namespace
}  // namespace vortal
