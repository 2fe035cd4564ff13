// Helpers shared by the fuzz targets: one temporary folder per process whose
// files are overwritten on every run (so the disk never grows), and a check
// that aborts with a message libFuzzer reports as a crash.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace vortal::fuzz {

// A path of `name` inside this process's temporary folder (created once and
// removed when the process ends).
std::string TempFile(const std::string& name);

// Replaces the file's contents with `bytes` (plain write: the code under test
// is what must be atomic, not the harness).
void WriteBytes(const std::string& path, const std::uint8_t* data, std::size_t size);

// Aborts with `what` when `condition` is false.
void Check(bool condition, const char* what);

}  // namespace vortal::fuzz
