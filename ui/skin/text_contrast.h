// Text that stays readable on a control's own background. The skin's text
// colour is chosen for the skin's pictures, but the edits, lists and statics
// of the window fill themselves with fixed dark colours: a dark text colour
// chosen for a pale skin would vanish on them.
#pragma once

#include "ui/host/geometry.h"

namespace vortal {

// The contrast ratio of two colours by their relative luminance (sRGB),
// from 1 (the same) to 21 (black and white).
double ContrastRatio(Color a, Color b);

// Below this ratio text is hard to make out; 3:1 is the usual floor for
// text of the controls' size and weight.
inline constexpr double kMinimumTextContrast = 3.0;

// `text` when it stands out on `back` by at least kMinimumTextContrast;
// otherwise white or black, whichever stands out more on `back`.
Color ReadableTextColor(Color text, Color back);

}  // namespace vortal
