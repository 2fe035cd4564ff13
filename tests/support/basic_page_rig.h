// The basic page in a main window over fakes: a mouse that reports a sensor
// type, scripted assignment dialogs, and helpers to read what was drawn.
#pragma once

#include <algorithm>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "support/fake_assignment_dialogs.h"
#include "support/main_window_rig.h"
#include "ui/window/basic_page.h"

namespace vortal::testing {


// The mouse's reply to the sensor settings read: type, rate, option 1,
// option 2, with the checksum that makes the frame add up to 0xFF.
inline std::vector<std::uint8_t> SensorReply(std::uint8_t type, std::uint8_t option2 = 0) {
  std::vector<std::uint8_t> report = {0, 0x83, type, 0, 0, option2, 0, 0, 0};
  unsigned sum = 0;
  for (std::size_t i = 1; i < 8; ++i) sum += report[i];
  report[8] = static_cast<std::uint8_t>(0xFF - (sum & 0xFF));
  return report;
}

struct BasicPageRig : MainWindowRig {
  FakeAssignmentDialogs dialogs;
  BasicPage page{model, dialogs};

  explicit BasicPageRig(std::uint8_t sensorType = 0, std::uint8_t firstRunFlag = 1) {
    backend.featureReplies.push_back(SensorReply(sensorType));
    link.FindDevice(backend);
    settings.firstRunFlag = firstRunFlag;
    model.skin.skinFolderPath = "/skin";
    model.skin.textColor = {1, 2, 3};
    model.SetPage(kBasicPage, &page);
  }

  // Shows the page and forgets what that drew.
  void Show() {
    model.BuildPage(kBasicPage);
    Forget();
  }
  void Forget() {
    services.calls.clear();
    services.redraws.clear();
  }
  void Click(Point p) { model.OnLeftButtonDown(p); }
  static Point Inside(const Rect& box) { return {box.left + 1, box.top + 1}; }

  // Every line drawn since the last Forget.
  std::vector<std::string> Drawn() const {
    std::vector<std::string> all;
    for (const auto& redraw : services.redraws) all.insert(all.end(), redraw.begin(), redraw.end());
    return all;
  }
  bool DrewLine(const std::string& line) const {
    const std::vector<std::string> all = Drawn();
    return std::find(all.begin(), all.end(), line) != all.end();
  }
  bool Called(const std::string& call) const {
    return std::find(services.calls.begin(), services.calls.end(), call) != services.calls.end();
  }
  SettingsRecord& record() { return settings.working; }
};

inline std::string ImageLine(std::string_view image, Point at) {
  return "IMAGE " + std::string(image) + " " + std::to_string(at.x) + "," + std::to_string(at.y);
}

}  // namespace vortal::testing
