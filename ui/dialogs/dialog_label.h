// A label of an assignment dialog in the three languages of the program.
// Each dialog carries its own labels; the main window's table is texts/texts.h.
#pragma once

#include <string_view>

#include "ui/host/geometry.h"
#include "texts/texts.h"

namespace vortal {

struct DialogLabel {
  std::string_view english;
  std::string_view simplified;
  std::string_view traditional;

  constexpr std::string_view In(Language language) const {
    switch (language) {
      case Language::kSimplifiedChinese: return simplified;
      case Language::kTraditionalChinese: return traditional;
      case Language::kEnglish: break;
    }
    return english;
  }
};

// The labels and fields the dialogs draw themselves are white on the dark
// field colour, whatever the skin's text colour.
inline constexpr Color kDialogLabelColor{255, 255, 255};

}  // namespace vortal
