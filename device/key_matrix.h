// The mouse takes one 4-byte function code per button, in key matrices of
// sixteen codes. Matrix 1 is built from Mode A, matrix 3 from Mode B.
#pragma once

#include <array>
#include <cstdint>

#include "settings/settings_record.h"

namespace vortal {

inline constexpr int kKeyMatrixSize = 64;
using KeyMatrix = std::array<std::uint8_t, kKeyMatrixSize>;
using FunctionCode = std::array<std::uint8_t, 4>;

// The device code of button `button` (0..7) of `mode` (0 = A, 1 = B).
FunctionCode ButtonFunctionCode(const SettingsRecord& record, int mode, int button);

// The matrix slot of a button: buttons 6 and 7 trade places.
int MatrixSlotOfButton(int button);

// Clears matrix 1 and fills it from Mode A; writes only slots 0..7, 14 and 15
// of matrix 3 from Mode B.
void BuildKeyMatrices(const SettingsRecord& record, KeyMatrix& matrix1, KeyMatrix& matrix3);

}  // namespace vortal
