// The colour of the labels the assignment dialogs draw themselves; the
// labels, in the three languages, are DialogLabel (texts/texts.h).
#pragma once

#include <string_view>

#include "ui/host/geometry.h"
#include "texts/texts.h"

namespace vortal {

// The labels and fields the dialogs draw themselves are white on the dark
// field colour, whatever the skin's text colour.
inline constexpr Color kDialogLabelColor{255, 255, 255};

}  // namespace vortal
