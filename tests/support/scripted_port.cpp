#include "support/scripted_port.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "support/temp_dir.h"

namespace vortal::testing {

std::string HexBytes(const std::uint8_t* bytes, std::size_t count) {
  std::string text;
  char digits[4];
  for (std::size_t i = 0; i < count; ++i) {
    std::snprintf(digits, sizeof digits, "%02X", bytes[i]);
    if (i > 0) text += ' ';
    text += digits;
  }
  return text;
}

std::string HexBytes(const std::vector<std::uint8_t>& bytes) {
  return HexBytes(bytes.data(), bytes.size());
}

std::vector<std::uint8_t> FeatureReport(const CommandFrame& frame) {
  std::vector<std::uint8_t> report(1 + frame.size(), 0);
  std::copy(frame.begin(), frame.end(), report.begin() + 1);
  return report;
}

std::vector<std::uint8_t> CommandReport(CommandFrame frame) {
  StoreChecksum(frame);
  return FeatureReport(frame);
}

std::vector<std::uint8_t> DataReport(const std::vector<std::uint8_t>& data, std::size_t from) {
  std::vector<std::uint8_t> report(33, 0);
  for (std::size_t i = 0; i < 32 && from + i < data.size(); ++i) report[1 + i] = data[from + i];
  return report;
}

std::vector<std::string> LoggedTraffic(const std::string& folder) {
  std::vector<std::string> lines = ReadLines(folder + "/traffic.log");
  for (std::string& line : lines) line.erase(0, line.find(' ') + 1);
  return lines;
}

ScriptedPort::ScriptedPort(std::shared_ptr<Trace> trace, ReportLengths lengths)
    : trace_(std::move(trace)), lengths_(lengths) {}

void ScriptedPort::Record(const char* kind, const std::uint8_t* report, std::size_t length) {
  trace_->lines.push_back(std::string(kind) + " " + HexBytes(report, length));
}

bool ScriptedPort::SetFeature(const std::uint8_t* report, std::size_t length) {
  Record("SET_FEATURE", report, length);
  return true;
}

bool ScriptedPort::WriteOutput(const std::uint8_t* report, std::size_t length) {
  Record("WRITE", report, length);
  return true;
}

bool ScriptedPort::Hand(const char* kind, std::deque<std::vector<std::uint8_t>>& queue,
                        std::uint8_t* report, std::size_t length) {
  if (queue.empty()) return false;
  const std::vector<std::uint8_t>& next = queue.front();
  std::memcpy(report, next.data(), std::min(length, next.size()));
  queue.pop_front();
  Record(kind, report, length);
  return true;
}

bool ScriptedPort::GetFeature(std::uint8_t* report, std::size_t length) {
  return Hand("GET_FEATURE", featureReplies, report, length);
}

bool ScriptedPort::ReadInput(std::uint8_t* report, std::size_t length) {
  return Hand("READ", inputReports, report, length);
}

void TracePauser::Pause(std::chrono::microseconds duration) {
  trace_->lines.push_back("PAUSE " + std::to_string(duration.count()));
}

}  // namespace vortal::testing
