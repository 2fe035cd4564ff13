// The platform's own HID backend on this machine. Test machines have no such
// mouse: the search must go through every HID interface the system lists and
// come back empty, without a message box.
#include <gtest/gtest.h>

#include "platform/hid_backend_factory.h"
#include "support/recording_messages.h"

namespace vortal {
namespace {

TEST(SystemHidBackend, SearchWithoutTheMouseOpensNothingAndShowsNothing) {
  testing::RecordingMessages messages;
  auto backend = MakeSystemHidBackend(&messages);
  ASSERT_TRUE(backend);
  OpenedMouse mouse = backend->FindDevice();
  if (mouse.command) GTEST_SKIP() << "a mouse of this kind is plugged in";
  EXPECT_FALSE(mouse.events);
  EXPECT_TRUE(messages.shown.empty());
  // A second search after the first leaves no state behind.
  EXPECT_FALSE(backend->FindDevice().command);
}

}  // namespace
}  // namespace vortal
