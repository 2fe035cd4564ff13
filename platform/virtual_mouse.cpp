#include "platform/virtual_mouse.h"

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <deque>
#include <filesystem>
#include <fstream>
#include <mutex>
#include <sstream>
#include <thread>
#include <vector>

#include "files/file_io.h"
#include "settings/number_text.h"
#include "platform/thread_name.h"

namespace vortal {
namespace {

namespace fs = std::filesystem;

constexpr std::chrono::milliseconds kPollInterval{25};
constexpr const char* kMemoryFile = "memory.bin";
constexpr const char* kTrafficFile = "traffic.log";
constexpr const char* kControlFile = "control";
constexpr const char* kConditionFile = "condition";

fs::path PathFromUtf8(const std::string& text) { return fs::path(std::u8string(text.begin(), text.end())); }

std::string Utf8FromPath(const fs::path& path) {
  const std::u8string text = path.u8string();
  return std::string(text.begin(), text.end());
}

// A byte value from a control line token: decimal digits only, 0 to 255.
std::optional<std::uint8_t> ByteToken(const std::string& token) {
  if (token.empty() || token.size() > 3 ||
      !std::all_of(token.begin(), token.end(), [](char c) { return c >= '0' && c <= '9'; })) {
    return std::nullopt;
  }
  const int value = ReadCNumber(token);
  if (value > 255) return std::nullopt;
  return static_cast<std::uint8_t>(value);
}

struct EventQueue {
  std::deque<std::vector<std::uint8_t>> reports;
  bool cancelled = false;
  unsigned generation = 0;
};

}  // namespace

struct VirtualMouseShared {
  mutable std::mutex mutex;
  std::condition_variable changed;
  VirtualMouseFirmware firmware;
  VirtualMouseFaults faults;
  bool usable = false;
  bool plugged = true;
  bool silent = false;  // feature reports fail, as with a mouse that hangs
  int answersLeft = -1;  // >= 0: feature reports still answered before it goes silent
  bool closed = false;
  unsigned generation = 0;  // ports of an older generation are stale handles
  std::vector<std::shared_ptr<EventQueue>> queues;
  std::string memoryPath;
  std::ofstream log;
  std::chrono::steady_clock::time_point opened = std::chrono::steady_clock::now();

  std::mutex controlMutex;  // one reader of the control file at a time
  fs::path controlPath;
  std::uintmax_t controlOffset = 0;

  std::mutex listenerMutex;
  DeviceChangeListener listener;

  std::thread poller;

  bool Alive(unsigned portGeneration) const {
    return usable && plugged && !closed && portGeneration == generation;
  }

  // Callers hold `mutex`.
  void Log(const char* kind, const std::uint8_t* bytes, std::size_t count) {
    if (!log.is_open()) return;
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - opened).count();
    const std::string line = TrafficLogLine(seconds, kind, bytes, count);
    log.write(line.data(), static_cast<std::streamsize>(line.size()));
    log.flush();
  }

  // memory.bin is the one mouse's memory, also for another process that has
  // the same folder open: take its latest state before each command.
  void ReloadMemory() {
    if (auto bytes = ReadFileBytes(memoryPath)) {
      if (auto memory = DecodeMemory(*bytes)) firmware.SetMemory(*memory);
    }
  }

  void SaveMemory() { WriteFileAtomically(memoryPath, EncodeMemory(firmware.memory())); }

  // The lasting faults, as the control lines that put the mouse in them, so
  // that a program opening the folder later meets the same mouse.
  std::string conditionPath;
  std::string slotLine, silenceLine;  // empty: the mouse is in order

  // Puts the mouse in the condition of a lasting line. Callers hold `mutex`.
  void TakeCondition(const ControlLine& line, std::string_view text) {
    if (line.kind == ControlLine::Kind::kWrongMacroSlot) {
      faults.wrongMacroSlot = line.value;
      firmware.SetFaults(faults);
      slotLine = line.value ? std::string(text) : std::string();
    } else {
      const bool later = line.kind == ControlLine::Kind::kSilent && line.value > 0;
      silent = line.kind == ControlLine::Kind::kSilent && !later;
      answersLeft = later ? line.value : -1;
      silenceLine = line.kind == ControlLine::Kind::kSilent ? std::string(text) : std::string();
    }
  }
  void SaveCondition() {
    std::string text;
    for (const std::string* line : {&slotLine, &silenceLine})
      if (!line->empty()) text += *line + "\n";
    WriteFileAtomically(conditionPath, std::vector<std::uint8_t>(text.begin(), text.end()));
  }
  void LoadCondition() {
    const auto bytes = ReadFileBytes(conditionPath);
    if (!bytes) return;
    std::istringstream lines(std::string(bytes->begin(), bytes->end()));
    for (std::string text; std::getline(lines, text);) {
      const std::optional<ControlLine> line = ParseControlLine(text);
      if (line && (line->kind == ControlLine::Kind::kWrongMacroSlot || line->kind == ControlLine::Kind::kSilent))
        TakeCondition(*line, text);
    }
  }
};

namespace {

class VirtualCommandPort : public CommandPort {
 public:
  VirtualCommandPort(std::shared_ptr<VirtualMouseShared> shared, unsigned generation, ReportLengths lengths)
      : shared_(std::move(shared)), generation_(generation), lengths_(lengths) {}

  ReportLengths Lengths() const override { return lengths_; }

  bool SetFeature(const std::uint8_t* report, std::size_t length) override {
    return Exchange("SET_FEATURE", report, length, [&] {
      if (shared_->answersLeft == 0) shared_->silent = true;
      if (shared_->answersLeft > 0) --shared_->answersLeft;
      if (shared_->silent) return false;
      shared_->ReloadMemory();
      if (shared_->firmware.SetFeature(report, length)) shared_->SaveMemory();
      return true;
    });
  }

  bool GetFeature(std::uint8_t* report, std::size_t length) override {
    return Exchange("GET_FEATURE", report, length, [&] {
      if (shared_->silent) return false;
      shared_->firmware.GetFeature(report, length);
      return true;
    });
  }

  bool WriteOutput(const std::uint8_t* report, std::size_t length) override {
    return Exchange("WRITE", report, length, [&] {
      if (shared_->firmware.Output(report, length)) shared_->SaveMemory();
      return true;
    });
  }

  bool ReadInput(std::uint8_t* report, std::size_t length) override {
    return Exchange("READ", report, length, [&] { return shared_->firmware.Input(report, length); });
  }

 private:
  // One report between the program and the mouse: nothing passes while the
  // handle is stale; a report that passed is logged as the program sees it.
  template <typename Firmware>
  bool Exchange(const char* kind, const std::uint8_t* report, std::size_t length, Firmware firmware) {
    std::lock_guard lock(shared_->mutex);
    if (!shared_->Alive(generation_)) return false;
    if (!firmware()) return false;
    shared_->Log(kind, report, length);
    return true;
  }

  std::shared_ptr<VirtualMouseShared> shared_;
  unsigned generation_;
  ReportLengths lengths_;
};

class VirtualEventPort : public EventPort {
 public:
  VirtualEventPort(std::shared_ptr<VirtualMouseShared> shared, std::shared_ptr<EventQueue> queue,
                   std::size_t length)
      : shared_(std::move(shared)), queue_(std::move(queue)), length_(length) {}

  ~VirtualEventPort() override {
    std::lock_guard lock(shared_->mutex);
    auto& queues = shared_->queues;
    queues.erase(std::remove(queues.begin(), queues.end(), queue_), queues.end());
  }

  std::size_t InputLength() const override { return length_; }

  std::size_t ReadEvent(std::uint8_t* report, std::size_t capacity) override {
    std::unique_lock lock(shared_->mutex);
    shared_->changed.wait(lock, [&] {
      return !shared_->Alive(queue_->generation) || queue_->cancelled || !queue_->reports.empty();
    });
    if (!shared_->Alive(queue_->generation) || queue_->cancelled) return 0;
    const std::vector<std::uint8_t> next = std::move(queue_->reports.front());
    queue_->reports.pop_front();
    const std::size_t count = std::min(capacity, next.size());
    std::copy(next.begin(), next.begin() + static_cast<std::ptrdiff_t>(count), report);
    shared_->Log("EVENT", next.data(), next.size());
    return count;
  }

  void Cancel() override {
    {
      std::lock_guard lock(shared_->mutex);
      queue_->cancelled = true;
    }
    shared_->changed.notify_all();
  }

 private:
  std::shared_ptr<VirtualMouseShared> shared_;
  std::shared_ptr<EventQueue> queue_;
  std::size_t length_;
};

}  // namespace

VirtualMouseBackend::VirtualMouseBackend(const std::string& folder, std::uint8_t sensorType)
    : shared_(std::make_shared<VirtualMouseShared>()) {
  VirtualMouseShared& s = *shared_;
  const fs::path dir = PathFromUtf8(folder);
  std::error_code error;
  fs::create_directories(dir, error);
  s.usable = fs::is_directory(dir, error);
  if (!s.usable) return;

  s.memoryPath = Utf8FromPath(dir / kMemoryFile);
  std::optional<VirtualMouseMemory> memory;
  if (auto bytes = ReadFileBytes(s.memoryPath)) memory = DecodeMemory(*bytes);
  if (memory) {
    s.firmware.SetMemory(*memory);
  } else {
    VirtualMouseMemory fresh;
    fresh.sensorSettings[0] = sensorType;
    s.firmware.SetMemory(fresh);
    s.SaveMemory();
  }

  s.conditionPath = Utf8FromPath(dir / kConditionFile);
  s.LoadCondition();

  s.log.open(dir / kTrafficFile, std::ios::binary | std::ios::app);
  s.controlPath = dir / kControlFile;
  const std::uintmax_t size = fs::file_size(s.controlPath, error);
  s.controlOffset = error ? 0 : size;  // earlier lines belong to earlier runs
  s.poller = std::thread([this] {
    NameThisThread("virtual-mouse");
    PollLoop();
  });
}

VirtualMouseBackend::~VirtualMouseBackend() {
  {
    std::lock_guard lock(shared_->mutex);
    shared_->closed = true;
  }
  shared_->changed.notify_all();
  if (shared_->poller.joinable()) shared_->poller.join();
}

bool VirtualMouseBackend::Usable() const { return shared_->usable; }

OpenedMouse VirtualMouseBackend::FindDevice() {
  std::lock_guard lock(shared_->mutex);
  VirtualMouseShared& s = *shared_;
  if (!s.Alive(s.generation)) return {};
  ReportLengths lengths = kVirtualCommandLengths;
  if (s.faults.lengths.feature) lengths.feature = s.faults.lengths.feature;
  if (s.faults.lengths.input) lengths.input = s.faults.lengths.input;
  if (s.faults.lengths.output) lengths.output = s.faults.lengths.output;
  auto queue = std::make_shared<EventQueue>();
  queue->generation = s.generation;
  s.queues.push_back(queue);
  OpenedMouse opened;
  opened.command = std::make_unique<VirtualCommandPort>(shared_, s.generation, lengths);
  opened.events = std::make_unique<VirtualEventPort>(
      shared_, queue, s.faults.eventLength ? s.faults.eventLength : kVirtualEventLength);
  return opened;
}

void VirtualMouseBackend::SetChangeListener(DeviceChangeListener listener) {
  std::lock_guard lock(shared_->listenerMutex);
  shared_->listener = std::move(listener);
}

VirtualMouseMemory VirtualMouseBackend::Memory() const {
  std::lock_guard lock(shared_->mutex);
  return shared_->firmware.memory();
}

void VirtualMouseBackend::SetFaults(const VirtualMouseFaults& faults) {
  std::lock_guard lock(shared_->mutex);
  shared_->faults = faults;
  shared_->firmware.SetFaults(faults);
}

void VirtualMouseBackend::Notify(bool arrival) {
  DeviceChangeListener listener;
  {
    std::lock_guard lock(shared_->listenerMutex);
    listener = shared_->listener;
  }
  if (!listener) return;
  listener(arrival, std::string(kVirtualEventInterface));
  listener(arrival, std::string(kVirtualCommandInterface));
}

void VirtualMouseBackend::RunControlLine(std::string_view text) {
  const std::optional<ControlLine> line = ParseControlLine(text);
  if (!line) return;
  VirtualMouseShared& s = *shared_;

  if (line->kind == ControlLine::Kind::kEvent) {
    {
      std::lock_guard lock(s.mutex);
      if (!s.Alive(s.generation)) return;  // nobody to tell
      const std::vector<std::uint8_t> report = EventReport(
          line->code, line->value, s.faults.eventLength ? s.faults.eventLength : kVirtualEventLength);
      for (auto& queue : s.queues) {
        if (queue->generation == s.generation) queue->reports.push_back(report);
      }
    }
    s.changed.notify_all();
  } else if (line->kind == ControlLine::Kind::kSilent || line->kind == ControlLine::Kind::kAnswer ||
             line->kind == ControlLine::Kind::kWrongMacroSlot) {
    std::lock_guard lock(s.mutex);
    if (!s.usable) return;
    s.TakeCondition(*line, text);
    s.SaveCondition();
    s.Log(("CONTROL " + std::string(text)).c_str(), nullptr, 0);
  } else if (line->kind == ControlLine::Kind::kUnplug) {
    {
      std::lock_guard lock(s.mutex);
      if (!s.usable || !s.plugged) return;
      s.plugged = false;
      ++s.generation;  // every open handle goes stale
      for (auto& queue : s.queues) queue->reports.clear();
    }
    s.changed.notify_all();
    Notify(false);
  } else {
    {
      std::lock_guard lock(s.mutex);
      if (!s.usable || s.plugged) return;
      s.plugged = true;
    }
    Notify(true);
  }
}

void VirtualMouseBackend::PollControlFile() {
  VirtualMouseShared& s = *shared_;
  if (!s.usable) return;
  std::lock_guard control(s.controlMutex);
  std::error_code error;
  const std::uintmax_t size = fs::file_size(s.controlPath, error);
  if (error) return;
  if (size < s.controlOffset) s.controlOffset = 0;  // replaced by a new file
  if (size == s.controlOffset) return;
  std::ifstream in(s.controlPath, std::ios::binary);
  if (!in) return;
  in.seekg(static_cast<std::streamoff>(s.controlOffset));
  std::string text(static_cast<std::size_t>(size - s.controlOffset), '\0');
  in.read(text.data(), static_cast<std::streamsize>(text.size()));
  text.resize(static_cast<std::size_t>(in.gcount()));
  const std::size_t end = text.rfind('\n');
  if (end == std::string::npos) return;  // a line still being written
  s.controlOffset += end + 1;
  std::size_t start = 0;
  while (start <= end) {
    const std::size_t newline = text.find('\n', start);
    std::string_view line(text.data() + start, newline - start);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    RunControlLine(line);
    start = newline + 1;
  }
}

void VirtualMouseBackend::PollLoop() {
  std::unique_lock lock(shared_->mutex);
  while (!shared_->closed) {
    shared_->changed.wait_for(lock, kPollInterval, [&] { return shared_->closed; });
    if (shared_->closed) break;
    lock.unlock();
    PollControlFile();
    lock.lock();
  }
}

std::string TrafficLogLine(double seconds, std::string_view kind, const std::uint8_t* bytes,
                           std::size_t count) {
  char stamp[32];
  std::snprintf(stamp, sizeof stamp, "%.6f", seconds);
  std::string line = std::string(stamp) + " " + std::string(kind);
  static constexpr char kDigits[] = "0123456789ABCDEF";
  line.reserve(line.size() + 3 * count + 1);
  for (std::size_t i = 0; i < count; ++i) {
    line += ' ';
    line += kDigits[bytes[i] >> 4];
    line += kDigits[bytes[i] & 0x0F];
  }
  line += '\n';
  return line;
}

std::optional<ControlLine> ParseControlLine(std::string_view line) {
  std::istringstream words{std::string(line)};
  std::vector<std::string> tokens;
  for (std::string token; words >> token;) tokens.push_back(token);
  if (tokens.size() == 3 && tokens[0] == "event") {
    const auto code = ByteToken(tokens[1]);
    const auto value = ByteToken(tokens[2]);
    if (!code || !value) return std::nullopt;
    return ControlLine{ControlLine::Kind::kEvent, *code, *value};
  }
  if (tokens.size() == 2 && tokens[0] == "macro-slot-wrong") {
    const auto slot = ByteToken(tokens[1]);
    if (!slot || *slot > kMacroSlots) return std::nullopt;
    return ControlLine{ControlLine::Kind::kWrongMacroSlot, 0, *slot};
  }
  if (!tokens.empty() && tokens.size() <= 2 && tokens[0] == "silent") {
    const auto after = tokens.size() == 2 ? ByteToken(tokens[1]) : std::optional<std::uint8_t>(0);
    if (!after) return std::nullopt;
    return ControlLine{ControlLine::Kind::kSilent, 0, *after};
  }
  if (tokens.size() == 1 && tokens[0] == "answer") return ControlLine{ControlLine::Kind::kAnswer};
  if (tokens.size() == 1 && tokens[0] == "unplug") return ControlLine{ControlLine::Kind::kUnplug};
  if (tokens.size() == 1 && tokens[0] == "plug") return ControlLine{ControlLine::Kind::kPlug};
  return std::nullopt;
}

std::vector<std::uint8_t> EventReport(std::uint8_t code, std::uint8_t value, std::size_t length) {
  std::vector<std::uint8_t> report(length, 0);
  const std::uint8_t head[4] = {6, code, 0, value};
  std::copy(head, head + std::min<std::size_t>(4, report.size()), report.begin());
  return report;
}

std::uint8_t VirtualSensorTypeFromText(const char* text) {
  if (text == nullptr) return 0;
  const int value = ReadCNumber(text);
  return value >= 0 && value <= 255 ? static_cast<std::uint8_t>(value) : 0;
}

std::unique_ptr<HidBackend> MakeVirtualBackendFromEnvironment() {
  const char* folder = std::getenv(kVirtualMouseVariable);
  if (folder == nullptr || *folder == '\0') return nullptr;
  return std::make_unique<VirtualMouseBackend>(folder,
                                               VirtualSensorTypeFromText(std::getenv(kVirtualSensorVariable)));
}

}  // namespace vortal
