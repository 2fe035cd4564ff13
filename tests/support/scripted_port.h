// Fakes of the HID port and the pauser that write every call, in order, into
// one shared trace, so tests can compare a whole exchange with the mouse.
#pragma once

#include <chrono>
#include <cstdint>
#include <deque>
#include <memory>
#include <string>
#include <vector>

#include "device/command_frame.h"
#include "device/hid_port.h"

namespace vortal::testing {

// Upper-case hex bytes separated by single spaces: "01 08 00".
std::string HexBytes(const std::uint8_t* bytes, std::size_t count);
std::string HexBytes(const std::vector<std::uint8_t>& bytes);

// The feature report that carries `frame` as it is, report ID 0 first.
std::vector<std::uint8_t> FeatureReport(const CommandFrame& frame);
// The feature report of a command: `frame` with its checksum stored.
std::vector<std::uint8_t> CommandReport(CommandFrame frame);
// A 33-byte data report carrying up to 32 bytes of `data` from `from` on,
// zero after.
std::vector<std::uint8_t> DataReport(const std::vector<std::uint8_t>& data, std::size_t from);

// The virtual mouse's traffic log in `folder` in the form of a trace's lines
// (each without its time stamp).
std::vector<std::string> LoggedTraffic(const std::string& folder);

struct Trace {
  std::vector<std::string> lines;
};

// A command port whose replies are scripted. Every call records
// "<KIND> <hex of the whole buffer>", reading all `length` bytes it was given
// (so the sanitizers catch a buffer shorter than the length passed).
// GET_FEATURE and READ lines show the buffer as returned.
class ScriptedPort : public CommandPort {
 public:
  ScriptedPort(std::shared_ptr<Trace> trace, ReportLengths lengths);

  ReportLengths Lengths() const override { return lengths_; }
  bool SetFeature(const std::uint8_t* report, std::size_t length) override;
  bool GetFeature(std::uint8_t* report, std::size_t length) override;
  bool WriteOutput(const std::uint8_t* report, std::size_t length) override;
  bool ReadInput(std::uint8_t* report, std::size_t length) override;

  // Whole reports (report ID first) handed out by GetFeature / ReadInput in
  // turn; when empty the call fails and leaves the buffer alone.
  std::deque<std::vector<std::uint8_t>> featureReplies;
  std::deque<std::vector<std::uint8_t>> inputReports;

 private:
  bool Hand(const char* kind, std::deque<std::vector<std::uint8_t>>& queue, std::uint8_t* report,
            std::size_t length);
  void Record(const char* kind, const std::uint8_t* report, std::size_t length);

  std::shared_ptr<Trace> trace_;
  ReportLengths lengths_;
};

// Records "PAUSE <microseconds>" and returns at once.
class TracePauser : public Pauser {
 public:
  explicit TracePauser(std::shared_ptr<Trace> trace) : trace_(std::move(trace)) {}
  void Pause(std::chrono::microseconds duration) override;

 private:
  std::shared_ptr<Trace> trace_;
};

// Returns at once and only adds the pauses up.
class CountingPauser : public Pauser {
 public:
  void Pause(std::chrono::microseconds duration) override { total += duration; }
  std::chrono::microseconds total{0};
};

}  // namespace vortal::testing
