// A test suite that draws or decodes images through GDI+: the library is
// started once before the suite's first test and shut down after its last.
#pragma once

#ifdef _WIN32
// clang-format off
#include <windows.h>
#include <gdiplus.h>
// clang-format on

#include <gtest/gtest.h>

namespace vortal::testing {

class GdiplusTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    Gdiplus::GdiplusStartupInput input;
    ASSERT_EQ(Gdiplus::GdiplusStartup(&token_, &input, nullptr), Gdiplus::Ok);
  }
  static void TearDownTestSuite() {
    if (token_ != 0) Gdiplus::GdiplusShutdown(token_);
    token_ = 0;
  }

 private:
  static inline ULONG_PTR token_ = 0;
};

}  // namespace vortal::testing
#endif
