// Numbers stored as text are read the way the C library reads them: leading
// blanks, an optional sign, then decimal digits up to the first other
// character; no digits gives 0. Out-of-range values saturate at the int range.
#pragma once

#include <string_view>

namespace vortal {

int ReadCNumber(std::string_view text);

}  // namespace vortal
