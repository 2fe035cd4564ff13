// Messages the user must see. The window shows them as message boxes, the
// command-line tool prints them; the core only says what to tell.
#pragma once

#include <string>

namespace vortal {

class UserMessages {
 public:
  virtual ~UserMessages() = default;
  virtual void Show(const std::string& text, const std::string& caption) = 0;
};

// Where nobody is to be told (a caller without a message sink).
class SilentMessages : public UserMessages {
 public:
  void Show(const std::string&, const std::string&) override {}
};

// The caption of boxes that carry the application's name.
inline constexpr const char* kAppCaption = "Vortal";
inline constexpr const char* kWarningCaption = "Warning";

}  // namespace vortal
