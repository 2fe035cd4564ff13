#include "files/system_code_page.h"

namespace vortal {

// Profile files off Windows keep the Windows-1252 default.
void InstallSystemCodePage() {}

}  // namespace vortal
