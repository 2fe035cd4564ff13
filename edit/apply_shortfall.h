// An Apply's report in words, the same for the window and vortalctl.
#pragma once

#include <string>

#include "device/apply_report.h"
#include "texts/texts.h"

namespace vortal {

// What the mouse did not take, in the language of `texts` ("it stopped
// answering; macro slots 3, 7 came back different"); empty when applied.
std::string DescribeShortfall(const ApplyReport& report, const LocalizedTexts& texts);

}  // namespace vortal
