// Messages the user must see, as the window's models ask for them: the
// window shows them as message boxes. The layers below return what went
// wrong and leave the telling to their caller.
#pragma once

#include <string>

namespace vortal {

class UserMessages {
 public:
  virtual ~UserMessages() = default;
  virtual void Show(const std::string& text, const std::string& caption) = 0;
};

}  // namespace vortal
