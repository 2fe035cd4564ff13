// How long `vortalctl apply` takes against the virtual mouse with the system's
// pause clock, compared with the 248 ms that the protocol's pauses add up to;
// and how far single pauses overshoot; and what a profile switch sends (the
// whole Apply, DPI only, buttons only, everything) and how long it takes.
// Prints figures; asserts nothing.
//
//   vortal_bench [--runs N] [--folder DIR]
//   vortal_bench --seed DIR     only writes the delivered config.bin into DIR
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include "device/mouse_link.h"
#include "device/virtual_firmware.h"
#include "platform/virtual_mouse.h"
#include "platform/hid_backend_factory.h"
#include "settings/delivered_settings.h"
#include "files/file_io.h"
#include "tools/vortalctl_main.h"

namespace {

using Clock = std::chrono::steady_clock;

// 34 pauses of 2 ms between commands and 60 output reports followed by 3 ms.
constexpr double kMandatedPauseMs = 248.0;

struct Figures {
  double min, median, mean, max;
};

Figures Summarize(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  double sum = 0;
  for (double v : values) sum += v;
  return {values.front(), values[values.size() / 2], sum / values.size(), values.back()};
}

double Ms(Clock::duration d) { return std::chrono::duration<double, std::milli>(d).count(); }

void BenchPauses(vortal::Pauser& pauser) {
  for (int ms : {2, 3}) {
    std::vector<double> overshoot;
    for (int i = 0; i < 100; ++i) {
      auto start = Clock::now();
      pauser.Pause(std::chrono::milliseconds(ms));
      overshoot.push_back(Ms(Clock::now() - start) - ms);
    }
    Figures f = Summarize(overshoot);
    std::printf("pause %d ms, overshoot over 100: min %.3f  median %.3f  mean %.3f  max %.3f ms\n",
                ms, f.min, f.median, f.mean, f.max);
  }
}

// Each run finds the mouse afresh, as a new vortalctl process would.
class Lent : public vortal::HidBackend {
 public:
  explicit Lent(vortal::HidBackend& mouse) : mouse_(mouse) {}
  vortal::OpenedMouse FindDevice() override { return mouse_.FindDevice(); }

 private:
  vortal::HidBackend& mouse_;
};

// The firmware model behind a command port, with no files and no log.
class MemoryPort : public vortal::CommandPort {
 public:
  explicit MemoryPort(vortal::VirtualMouseFirmware& firmware) : firmware_(firmware) {}
  vortal::ReportLengths Lengths() const override { return vortal::kVirtualCommandLengths; }
  bool SetFeature(const std::uint8_t* r, std::size_t n) override {
    firmware_.SetFeature(r, n);
    return true;
  }
  bool GetFeature(std::uint8_t* r, std::size_t n) override {
    firmware_.GetFeature(r, n);
    return true;
  }
  bool WriteOutput(const std::uint8_t* r, std::size_t n) override {
    firmware_.Output(r, n);
    return true;
  }
  bool ReadInput(std::uint8_t* r, std::size_t n) override { return firmware_.Input(r, n); }

 private:
  vortal::VirtualMouseFirmware& firmware_;
};

class MemoryMouse : public vortal::HidBackend {
 public:
  vortal::OpenedMouse FindDevice() override {
    vortal::OpenedMouse mouse;
    mouse.command = std::make_unique<MemoryPort>(firmware_);
    return mouse;
  }

 private:
  vortal::VirtualMouseFirmware firmware_;
};

// Counts the reports that pass to the mouse's command collection.
class CountingPort : public vortal::CommandPort {
 public:
  CountingPort(std::unique_ptr<vortal::CommandPort> port, long& reports)
      : port_(std::move(port)), reports_(reports) {}
  vortal::ReportLengths Lengths() const override { return port_->Lengths(); }
  bool SetFeature(const std::uint8_t* r, std::size_t n) override { return ++reports_, port_->SetFeature(r, n); }
  bool GetFeature(std::uint8_t* r, std::size_t n) override { return ++reports_, port_->GetFeature(r, n); }
  bool WriteOutput(const std::uint8_t* r, std::size_t n) override { return ++reports_, port_->WriteOutput(r, n); }
  bool ReadInput(std::uint8_t* r, std::size_t n) override { return ++reports_, port_->ReadInput(r, n); }

 private:
  std::unique_ptr<vortal::CommandPort> port_;
  long& reports_;
};

// Each kind of switch, back and forth between two setups that differ in it,
// on one link (the first switch of a link is the whole Apply).
int BenchSwitches(vortal::HidBackend& backend, const char* name, vortal::Pauser& pauser, int runs) {
  vortal::MouseLink link(pauser);
  vortal::OpenedMouse mouse = backend.FindDevice();
  long reports = 0;
  link.Attach(std::make_unique<CountingPort>(std::move(mouse.command), reports));
  link.OnMouseFound();
  const vortal::SettingsRecord base = vortal::DeliveredSettings();
  vortal::SettingsRecord dpi = base, buttons = base, everything = base;
  dpi.dpiLevel[0] = static_cast<std::uint8_t>(base.dpiLevel[0] == 1 ? 2 : 1);
  buttons.modeA.keyFunction[2] = vortal::kForward;
  everything.reportRate = static_cast<std::uint8_t>(base.reportRate ^ 1);
  everything.dpiLevel[0] = dpi.dpiLevel[0];
  everything.modeA.keyFunction[2] = vortal::kForward;
  everything.loopColorEnabled[0] = static_cast<std::uint8_t>(!base.loopColorEnabled[0]);
  everything.auxLedMode = static_cast<std::uint8_t>(base.auxLedMode == 1 ? 2 : 1);
  everything.macroSlots[0][5] ^= 1;
  struct Kind {
    const char* name;
    const vortal::SettingsRecord& record;
  } kinds[] = {{"DPI only", dpi}, {"buttons only", buttons}, {"everything", everything}};
  reports = 0;
  auto start = Clock::now();
  link.Switch(base);
  std::printf("switch, %s, the whole Apply (first of a link): %ld reports, %.1f ms\n", name, reports,
              Ms(Clock::now() - start));
  for (const Kind& kind : kinds) {
    std::vector<double> times;
    long sent = 0;
    for (int run = 0; run < runs; ++run) {
      for (const vortal::SettingsRecord* record : {&kind.record, &base}) {
        reports = 0;
        start = Clock::now();
        const vortal::ApplyReport report = link.Switch(*record);
        times.push_back(Ms(Clock::now() - start));
        sent = reports;
        if (!report.Applied()) {
          std::fprintf(stderr, "switch (%s) not applied\n", kind.name);
          return 1;
        }
      }
    }
    Figures f = Summarize(times);
    std::printf("switch, %s, %s, %d runs: %ld reports each; min %.1f  median %.1f  max %.1f ms\n",
                name, kind.name, 2 * runs, sent, f.min, f.median, f.max);
  }
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc == 3 && std::string(argv[1]) == "--seed") {
    std::filesystem::create_directories(argv[2]);
    return vortal::WriteFileAtomically((std::filesystem::path(argv[2]) / "config.bin").string(),
                                       vortal::DeliveredSettingsFile()) == 0
               ? 0
               : 1;
  }
  int runs = 10;
  std::string folder = (std::filesystem::temp_directory_path() / "vortal-bench").string();
  for (int i = 1; i + 1 < argc; i += 2) {
    std::string arg = argv[i];
    if (arg == "--runs") runs = std::max(1, std::atoi(argv[i + 1]));
    if (arg == "--folder") folder = argv[i + 1];
  }
  std::filesystem::remove_all(folder);
  std::filesystem::create_directories(folder);
  const std::string settings = (std::filesystem::path(folder) / "config.bin").string();
  if (vortal::WriteFileAtomically(settings, vortal::DeliveredSettingsFile()) != 0) {
    std::fprintf(stderr, "cannot write %s\n", settings.c_str());
    return 1;
  }

  auto pauser = vortal::MakeSystemPauser();
  BenchPauses(*pauser);

  // With the virtual mouse as VORTAL_VIRTUAL_MOUSE selects it (it logs every
  // report and saves its memory file after each change), and with its
  // firmware model alone in memory, which leaves the pauses and the protocol.
  auto mouse = std::make_unique<vortal::VirtualMouseBackend>(
      (std::filesystem::path(folder) / "mouse").string());
  MemoryMouse memoryMouse;
  vortal::ListenInterrupt interrupt;
  struct Variant {
    const char* name;
    vortal::HidBackend& backend;
  } variants[] = {{"virtual mouse", *mouse}, {"firmware model in memory", memoryMouse}};
  for (Variant& v : variants) {
    std::vector<double> times;
    for (int run = 0; run < runs; ++run) {
      std::ostringstream out, err;
      vortal::CtlContext context{out, err,
                                 [&]() -> std::unique_ptr<vortal::HidBackend> {
                                   return std::make_unique<Lent>(v.backend);
                                 },
                                 *pauser, vortal::ProgramPaths{}, vortal::Language::kEnglish,
                                 interrupt};
      auto start = Clock::now();
      int exit = vortal::RunVortalctl({"--dir", folder, "apply"}, context);
      times.push_back(Ms(Clock::now() - start));
      if (exit != 0) {
        std::fprintf(stderr, "apply failed (%d): %s\n", exit, err.str().c_str());
        return 1;
      }
    }
    Figures f = Summarize(times);
    std::printf("apply, %s, %d runs: min %.1f  median %.1f  mean %.1f  max %.1f ms\n", v.name, runs,
                f.min, f.median, f.mean, f.max);
    std::printf("  ratio to the %.0f ms of mandated pauses: min %.3f  median %.3f  max %.3f\n",
                kMandatedPauseMs, f.min / kMandatedPauseMs, f.median / kMandatedPauseMs,
                f.max / kMandatedPauseMs);
  }
  for (Variant& v : variants)
    if (BenchSwitches(v.backend, v.name, *pauser, runs) != 0) return 1;
  mouse.reset();  // closes its files, so the folder can go
  std::error_code ignored;
  std::filesystem::remove_all(folder, ignored);
  return 0;
}
