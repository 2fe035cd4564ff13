#include "platform/hid_linux.h"

#include <fcntl.h>
#include <linux/hidraw.h>
#include <poll.h>
#include <sys/eventfd.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <charconv>
#include <cstring>
#include <filesystem>
#include <optional>
#include <utility>

#include "files/file_io.h"

namespace vortal {
namespace {

// The command collection's input reports answer a read command at once; a
// mouse that stays silent this long is not going to answer, and the program
// must not hang on it.
constexpr int kCommandReadTimeoutMs = 1000;

// Delivered beside the program; gives the logged-in user the mouse's nodes.
constexpr const char* kUdevRuleFile = "70-vortal.rules";

// Reports of the largest size the kernel hands out, so a read never cuts one.
constexpr std::size_t kMaxHidrawReport = 16384;

// "0003:000004D9:0000A09F" -> vendor and product.
bool ParseHidId(std::string_view text, std::uint32_t& vendor, std::uint32_t& product) {
  std::uint32_t parts[3] = {};
  for (int i = 0; i < 3; ++i) {
    std::size_t end = i < 2 ? text.find(':') : text.size();
    if (end == std::string_view::npos) return false;
    std::string_view field = text.substr(0, end);
    auto [ptr, ec] = std::from_chars(field.data(), field.data() + field.size(), parts[i], 16);
    if (ec != std::errc() || ptr != field.data() + field.size() || field.empty()) return false;
    text.remove_prefix(i < 2 ? end + 1 : end);
  }
  vendor = parts[1];
  product = parts[2];
  return true;
}

std::optional<std::string> UeventValue(const std::string& uevent, std::string_view key) {
  std::size_t pos = 0;
  while (pos < uevent.size()) {
    std::size_t end = uevent.find('\n', pos);
    if (end == std::string::npos) end = uevent.size();
    std::string_view line(uevent.data() + pos, end - pos);
    if (line.size() > key.size() && line.substr(0, key.size()) == key && line[key.size()] == '=')
      return std::string(line.substr(key.size() + 1));
    pos = end + 1;
  }
  return std::nullopt;
}

int NodeNumber(const std::string& name) {
  int number = -1;
  std::string_view digits(name);
  digits.remove_prefix(std::min<std::size_t>(digits.size(), std::strlen("hidraw")));
  std::from_chars(digits.data(), digits.data() + digits.size(), number);
  return number;
}

// "usb-0000:00:14.0-1/input1" -> "usb-0000:00:14.0-1": the device, whichever interface.
std::string PhysDevice(const std::string& phys) {
  std::size_t slash = phys.rfind('/');
  return slash == std::string::npos ? phys : phys.substr(0, slash);
}

int FindCollection(const HidrawNode& node, std::uint16_t usage, bool wantInput) {
  const auto& collections = node.descriptor.collections;
  for (std::size_t i = 0; i < collections.size(); ++i) {
    const HidTopCollection& c = collections[i];
    std::size_t length = wantInput ? c.lengths.input : c.lengths.feature;
    if (c.usagePage == usage && c.usage == usage && length != 0) return static_cast<int>(i);
  }
  return -1;
}

// Reads one report of the collection from a hidraw descriptor, in the
// system's layout: report ID first, 0 when the descriptor numbers no reports
// (hidraw then hands out the data alone). Reports of other collections on the
// same node are skipped.
class HidrawReader {
 public:
  HidrawReader(const HidReportDescriptor& descriptor, const HidTopCollection& collection)
      : numbered_(descriptor.numberedReports),
        ids_(collection.Ids(HidReportType::kInput)),
        scratch_(kMaxHidrawReport + 1) {}

  enum class Result { kReport, kAgain, kGone };

  // After poll() said the descriptor is readable.
  Result Read(int fd, std::uint8_t* report, std::size_t capacity, std::size_t& stored) {
    std::uint8_t* target = numbered_ ? scratch_.data() : scratch_.data() + 1;
    ssize_t n = ::read(fd, target, kMaxHidrawReport);
    if (n < 0) return errno == EAGAIN || errno == EINTR ? Result::kAgain : Result::kGone;
    if (n == 0) return Result::kGone;
    std::size_t size = static_cast<std::size_t>(n);
    if (numbered_) {
      if (std::find(ids_.begin(), ids_.end(), scratch_[0]) == ids_.end()) return Result::kAgain;
    } else {
      scratch_[0] = 0;
      ++size;
    }
    stored = std::min(size, capacity);
    std::memcpy(report, scratch_.data(), stored);
    return Result::kReport;
  }

 private:
  bool numbered_;
  std::vector<std::uint8_t> ids_;
  std::vector<std::uint8_t> scratch_;
};

class HidrawCommandPort : public CommandPort {
 public:
  HidrawCommandPort(int fd, const HidReportDescriptor& descriptor,
                    const HidTopCollection& collection)
      : fd_(fd), lengths_(collection.lengths), reader_(descriptor, collection) {}
  ~HidrawCommandPort() override { ::close(fd_); }

  ReportLengths Lengths() const override { return lengths_; }

  // hidraw takes the system's layout as it is: a leading report ID of 0
  // means an unnumbered report and is not sent.
  bool SetFeature(const std::uint8_t* report, std::size_t length) override {
    if (length == 0) return false;
    return ::ioctl(fd_, HIDIOCSFEATURE(length), report) >= 0;
  }

  bool GetFeature(std::uint8_t* report, std::size_t length) override {
    if (length == 0) return false;
    return ::ioctl(fd_, HIDIOCGFEATURE(length), report) >= 0;
  }

  bool WriteOutput(const std::uint8_t* report, std::size_t length) override {
    if (length == 0) return false;
    ssize_t n;
    do n = ::write(fd_, report, length);
    while (n < 0 && errno == EINTR);
    return n == static_cast<ssize_t>(length);
  }

  bool ReadInput(std::uint8_t* report, std::size_t length) override {
    pollfd p{fd_, POLLIN, 0};
    for (;;) {
      int ready = ::poll(&p, 1, kCommandReadTimeoutMs);
      if (ready < 0 && errno == EINTR) continue;
      if (ready <= 0) return false;
      // A report still queued when the mouse goes comes with POLLHUP: take it first.
      if (!(p.revents & POLLIN)) return false;
      std::size_t stored = 0;
      switch (reader_.Read(fd_, report, length, stored)) {
        case HidrawReader::Result::kReport:
          return true;
        case HidrawReader::Result::kGone:
          return false;
        case HidrawReader::Result::kAgain:
          break;
      }
    }
  }

 private:
  int fd_;
  ReportLengths lengths_;
  HidrawReader reader_;
};

class HidrawEventPort : public EventPort {
 public:
  HidrawEventPort(int fd, int wake, const HidReportDescriptor& descriptor,
                  const HidTopCollection& collection)
      : fd_(fd),
        wake_(wake),
        inputLength_(collection.lengths.input),
        reader_(descriptor, collection) {}
  ~HidrawEventPort() override {
    ::close(fd_);
    ::close(wake_);
  }

  std::size_t InputLength() const override { return inputLength_; }

  std::size_t ReadEvent(std::uint8_t* report, std::size_t capacity) override {
    pollfd p[2] = {{fd_, POLLIN, 0}, {wake_, POLLIN, 0}};
    for (;;) {
      if (cancelled_.load()) return 0;
      int ready = ::poll(p, 2, -1);
      if (ready < 0) {
        if (errno == EINTR) continue;
        return 0;
      }
      if (cancelled_.load() || p[1].revents) return 0;
      // hidraw reports POLLHUP together with POLLIN while a report is still
      // queued at an unplug: the report is read first, the next read ends.
      if (!(p[0].revents & POLLIN)) {
        if (p[0].revents & (POLLERR | POLLHUP | POLLNVAL)) return 0;  // unplugged
        continue;
      }
      std::size_t stored = 0;
      switch (reader_.Read(fd_, report, capacity, stored)) {
        case HidrawReader::Result::kReport:
          return stored;
        case HidrawReader::Result::kGone:
          return 0;
        case HidrawReader::Result::kAgain:
          break;
      }
    }
  }

  // Stays in force: a listener that is about to call ReadEvent when it is
  // told to stop must not block afterwards.
  void Cancel() override {
    cancelled_.store(true);
    std::uint64_t one = 1;
    ssize_t ignored = ::write(wake_, &one, sizeof one);
    (void)ignored;
  }

 private:
  int fd_;
  int wake_;
  std::size_t inputLength_;
  HidrawReader reader_;
  std::atomic<bool> cancelled_{false};
};

class HidrawBackend : public HidBackend {
 public:
  HidrawBackend(std::string classDir, std::string deviceDir)
      : classDir_(std::move(classDir)), deviceDir_(std::move(deviceDir)) {}

  OpenedMouse FindDevice() override {
    std::vector<HidrawNode> nodes = ScanMouseNodes(classDir_);
    MouseCollections found = ChooseMouseCollections(nodes);
    if (found.commandNode < 0) return {};

    const HidrawNode& commandNode = nodes[static_cast<std::size_t>(found.commandNode)];
    OpenedMouse mouse;
    int commandFd = Open(commandNode, O_RDWR, mouse.problem);
    if (commandFd < 0) return mouse;
    mouse.command = std::make_unique<HidrawCommandPort>(
        commandFd, commandNode.descriptor,
        commandNode.descriptor.collections[static_cast<std::size_t>(found.commandCollection)]);

    // Without the event collection the mouse can still be configured; only
    // the changes made on the mouse itself go unseen.
    if (found.eventNode >= 0) {
      const HidrawNode& eventNode = nodes[static_cast<std::size_t>(found.eventNode)];
      std::string ignored;  // the commands go through without it
      int eventFd = Open(eventNode, O_RDONLY, ignored);
      int wake = eventFd >= 0 ? ::eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK) : -1;
      if (wake >= 0) {
        mouse.events = std::make_unique<HidrawEventPort>(
            eventFd, wake, eventNode.descriptor,
            eventNode.descriptor.collections[static_cast<std::size_t>(found.eventCollection)]);
      } else if (eventFd >= 0) {
        ::close(eventFd);
      }
    }
    return mouse;
  }

 private:
  // Says in `problem` why a node could not be opened.
  int Open(const HidrawNode& node, int access, std::string& problem) {
    std::string path = deviceDir_ + "/" + node.name;
    int fd = ::open(path.c_str(), access | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
      int error = errno;
      problem = "Cannot open " + path + ": " + std::strerror(error) + ".";
      if (error == EACCES || error == EPERM)
        problem += std::string(" Your user may not use the mouse's hidraw nodes: install the udev rule ") +
                   kUdevRuleFile + " (delivered in dist/linux) into /etc/udev/rules.d, then unplug the "
                   "mouse and plug it in again.";
    }
    return fd;
  }

  std::string classDir_;
  std::string deviceDir_;
};

}  // namespace

std::vector<HidrawNode> ScanMouseNodes(const std::string& classDir) {
  std::vector<HidrawNode> nodes;
  std::error_code ec;
  for (const auto& entry : std::filesystem::directory_iterator(classDir, ec)) {
    std::string name = entry.path().filename().string();
    if (name.rfind("hidraw", 0) != 0 || NodeNumber(name) < 0) continue;
    std::string deviceDir = entry.path().string() + "/device/";
    auto uevent = ReadFileBytes(deviceDir + "uevent");
    if (!uevent) continue;
    std::string text(uevent->begin(), uevent->end());
    std::uint32_t vendor = 0, product = 0;
    auto id = UeventValue(text, "HID_ID");
    if (!id || !ParseHidId(*id, vendor, product)) continue;
    if (vendor != kMouseVendorId || product != kMouseProductId) continue;
    auto descriptorBytes = ReadFileBytes(deviceDir + "report_descriptor");
    if (!descriptorBytes) continue;
    auto descriptor = ParseReportDescriptor(*descriptorBytes);
    if (!descriptor) continue;
    nodes.push_back({name, UeventValue(text, "HID_PHYS").value_or(""), std::move(*descriptor)});
  }
  std::sort(nodes.begin(), nodes.end(), [](const HidrawNode& a, const HidrawNode& b) {
    return NodeNumber(a.name) < NodeNumber(b.name);
  });
  return nodes;
}

MouseCollections ChooseMouseCollections(const std::vector<HidrawNode>& nodes) {
  MouseCollections found;
  for (std::size_t i = 0; i < nodes.size() && found.commandNode < 0; ++i) {
    int c = FindCollection(nodes[i], kCommandUsage, false);
    if (c >= 0) {
      found.commandNode = static_cast<int>(i);
      found.commandCollection = c;
    }
  }
  if (found.commandNode < 0) return found;
  const std::string device = PhysDevice(nodes[static_cast<std::size_t>(found.commandNode)].phys);
  for (std::size_t i = 0; i < nodes.size(); ++i) {
    if (PhysDevice(nodes[i].phys) != device) continue;
    int c = FindCollection(nodes[i], kEventUsage, true);
    if (c >= 0) {
      found.eventNode = static_cast<int>(i);
      found.eventCollection = c;
      break;
    }
  }
  return found;
}

std::unique_ptr<HidBackend> MakeHidrawBackend(std::string classDir, std::string deviceDir) {
  return std::make_unique<HidrawBackend>(std::move(classDir), std::move(deviceDir));
}

}  // namespace vortal
