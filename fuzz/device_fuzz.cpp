// The device link against a hostile mouse: the report lengths it states,
// every reply, data phase and event report come from the input. The link
// goes through the handshake, an Apply (saving a temporary config.bin) and
// the listener's event decoding. Nothing may crash or read past a report,
// the saved file must be whole and hold the working record, and only the
// event codes the program acts on are handed on.
#include <fuzzer/FuzzedDataProvider.h>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <memory>
#include <numeric>
#include <string>
#include <vector>

#include "device/command_frame.h"
#include "device/device_events.h"
#include "device/mouse_link.h"
#include "fuzz_support.h"
#include "files/file_io.h"
#include "settings/settings_file.h"

namespace {

using vortal::fuzz::Check;

// Every call reads or writes all `length` bytes it is given, so a buffer
// shorter than the length passed shows as an overflow.
class HostilePort : public vortal::CommandPort {
 public:
  HostilePort(FuzzedDataProvider& in, vortal::ReportLengths lengths) : in_(in), lengths_(lengths) {}

  vortal::ReportLengths Lengths() const override { return lengths_; }
  bool SetFeature(const std::uint8_t* report, std::size_t length) override {
    if (length >= 1 + vortal::kFrameSize) {
      // Whatever the mouse said before, every command goes out framed.
      vortal::CommandFrame frame{};
      std::copy(report + 1, report + 1 + vortal::kFrameSize, frame.begin());
      Check(vortal::HasValidChecksum(frame), "every command carries its checksum");
    }
    if (length > 0) {
      lastCommand_.assign(report, report + length);
      sum_ += std::accumulate(lastCommand_.begin(), lastCommand_.end(), 0u);
    }
    return Alive();
  }
  bool GetFeature(std::uint8_t* report, std::size_t length) override {
    if (!Alive()) return false;
    if (in_.ConsumeBool() && length >= 1 + vortal::kFrameSize && lastCommand_.size() >= 2) {
      // A well-formed reply to the last command, so that replies get past
      // the checksum and the link's use of their contents is exercised.
      vortal::CommandFrame frame{};
      frame[0] = lastCommand_[1];
      for (int i = 1; i < vortal::kFrameChecksumByte; ++i) frame[i] = in_.ConsumeIntegral<std::uint8_t>();
      vortal::StoreChecksum(frame);
      std::memset(report, in_.ConsumeIntegral<std::uint8_t>(), length);
      report[0] = lastCommand_[0];
      std::copy(frame.begin(), frame.end(), report + 1);
      return true;
    }
    Fill(report, length);
    return true;
  }
  bool WriteOutput(const std::uint8_t* report, std::size_t length) override {
    for (std::size_t i = 0; i < length; ++i) sum_ += report[i];
    return Alive();
  }
  bool ReadInput(std::uint8_t* report, std::size_t length) override {
    if (!Alive()) return false;
    Fill(report, length);
    return true;
  }
  unsigned sum() const { return sum_; }

 private:
  bool Alive() { return in_.remaining_bytes() > 0 && in_.ConsumeIntegral<std::uint8_t>() != 0xFF; }
  void Fill(std::uint8_t* report, std::size_t length) {
    const auto bytes = in_.ConsumeBytes<std::uint8_t>(length);
    std::memset(report, 0, length);
    if (!bytes.empty()) std::memcpy(report, bytes.data(), bytes.size());
  }

  FuzzedDataProvider& in_;
  vortal::ReportLengths lengths_;
  std::vector<std::uint8_t> lastCommand_;
  unsigned sum_ = 0;
};

class HostileEvents : public vortal::EventPort {
 public:
  HostileEvents(FuzzedDataProvider& in, std::size_t length) : in_(in), length_(length) {}
  std::size_t InputLength() const override { return length_; }
  std::size_t ReadEvent(std::uint8_t* report, std::size_t capacity) override {
    if (in_.remaining_bytes() == 0 || ++reads_ > 64) return 0;
    // A report of any length; the port copies at most `capacity` bytes.
    auto bytes = in_.ConsumeBytes<std::uint8_t>(in_.ConsumeIntegralInRange<std::size_t>(0, 80));
    if (bytes.empty()) return 0;
    const std::size_t n = std::min(bytes.size(), capacity);
    std::memcpy(report, bytes.data(), n);
    return n;
  }
  void Cancel() override {}

 private:
  FuzzedDataProvider& in_;
  std::size_t length_;
  int reads_ = 0;
};

class HostileBackend : public vortal::HidBackend {
 public:
  explicit HostileBackend(FuzzedDataProvider& in) : in_(in) {}
  vortal::OpenedMouse FindDevice() override {
    vortal::OpenedMouse mouse;
    vortal::ReportLengths lengths;
    lengths.feature = in_.ConsumeIntegralInRange<std::size_t>(0, 70);
    lengths.input = in_.ConsumeIntegralInRange<std::size_t>(0, 70);
    lengths.output = in_.ConsumeIntegralInRange<std::size_t>(0, 70);
    if (in_.ConsumeBool()) lengths = {9, 33, 33};  // what the mouse states
    mouse.command = std::make_unique<HostilePort>(in_, lengths);
    if (in_.ConsumeBool()) {
      mouse.events = std::make_unique<HostileEvents>(in_, in_.ConsumeIntegralInRange<std::size_t>(0, 70));
    }
    return mouse;
  }

 private:
  FuzzedDataProvider& in_;
};

class NoPause : public vortal::Pauser {
 public:
  void Pause(std::chrono::microseconds) override {}
};


}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  FuzzedDataProvider in(data, size);
  NoPause pauser;
  vortal::MouseLink link(pauser);
  HostileBackend backend(in);
  std::unique_ptr<vortal::EventPort> events;
  Check(link.FindDevice(backend, &events), "a mouse with a command collection is found");
  link.OnMouseFound();

  // config.bin exists before Apply (it is never created by the program).
  const std::string path = vortal::fuzz::TempFile("config.bin");
  const std::vector<std::uint8_t> old(vortal::kSettingsFileSize, 0x5A);
  vortal::fuzz::WriteBytes(path, old.data(), old.size());

  vortal::SettingsState state;
  auto* record = reinterpret_cast<std::uint8_t*>(&state.working);
  const auto recordBytes = in.ConsumeBytes<std::uint8_t>(vortal::kSettingsRecordSize);
  std::copy(recordBytes.begin(), recordBytes.end(), record);
  state.Snapshot();
  int paneSaves = 0;
  link.ApplyToDevice(state, {path, [&] { return ++paneSaves > 0; }});
  Check(paneSaves == 1, "Apply saves the pane texts once");
  Check(link.DpiLabel(0).size() < 64, "a DPI label for any sensor type");

  const auto saved = vortal::ReadFileBytes(path);
  Check(saved && saved->size() == vortal::kSettingsFileSize, "config.bin is whole after Apply");
  Check((*saved)[0] == 1, "Apply marks the file as written");
  Check(std::memcmp(saved->data() + 1, &state.working, vortal::kSettingsRecordSize) == 0,
        "config.bin holds the working record");

  if (events) {
    vortal::ListenForEvents(*events, [](vortal::DeviceEvent event) {
      Check(std::find(vortal::kForwardedEventCodes.begin(), vortal::kForwardedEventCodes.end(),
                      event.code) != vortal::kForwardedEventCodes.end(),
            "only the codes the program acts on are handed on");
    });
  }
  // The decoder on its own, with every length up to the bytes left.
  const auto rest = in.ConsumeRemainingBytes<std::uint8_t>();
  for (std::size_t n = 0; n <= std::min<std::size_t>(rest.size(), 8); ++n) {
    vortal::DecodeEventReport(rest.data(), n);
  }
  return 0;
}
