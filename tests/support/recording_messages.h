// A UserMessages that remembers what the user would have been shown.
#pragma once

#include <string>
#include <vector>

#include "macro/user_messages.h"

namespace vortal::testing {

struct ShownMessage {
  std::string text;
  std::string caption;
  bool operator==(const ShownMessage&) const = default;
};

class RecordingMessages : public UserMessages {
 public:
  void Show(const std::string& text, const std::string& caption) override {
    shown.push_back({text, caption});
  }
  std::vector<ShownMessage> shown;
};

}  // namespace vortal::testing
