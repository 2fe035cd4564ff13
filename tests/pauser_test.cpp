// The system pause clock. Only bounds that hold on any machine, however busy,
// are checked here: a pause never ends early, and waiting is not done by
// spinning. How close to the requested length pauses end is measured in bench/.
#ifdef _WIN32
#include <windows.h>
#else
#include <time.h>
#endif

#include <gtest/gtest.h>

#include <chrono>

#include "platform/hid_backend_factory.h"

namespace vortal {
namespace {

using std::chrono::microseconds;

// Processor time the calling thread has used.
microseconds ThreadCpuTime() {
#ifdef _WIN32
  FILETIME created, exited, kernel, user;
  GetThreadTimes(GetCurrentThread(), &created, &exited, &kernel, &user);
  auto ticks = [](FILETIME t) {
    return (static_cast<long long>(t.dwHighDateTime) << 32) | t.dwLowDateTime;
  };
  return microseconds((ticks(kernel) + ticks(user)) / 10);
#else
  timespec t;
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
  return microseconds(t.tv_sec * 1000000LL + t.tv_nsec / 1000);
#endif
}

TEST(SystemPauser, NeverEndsEarly) {
  auto pauser = MakeSystemPauser();
  const microseconds durations[] = {microseconds(0),    microseconds(1),    microseconds(250),
                                    microseconds(1000), microseconds(2000), microseconds(3000),
                                    microseconds(2500)};
  for (int round = 0; round < 3; ++round) {
    for (microseconds d : durations) {
      auto start = std::chrono::steady_clock::now();
      pauser->Pause(d);
      auto took = std::chrono::steady_clock::now() - start;
      EXPECT_GE(took, d) << d.count() << " us";
    }
  }
}

TEST(SystemPauser, WaitsWithoutKeepingTheProcessorBusy) {
  // 40 pauses of 3 ms: spinning through them would cost about 120 ms of
  // processor time; sleeping costs next to nothing. Half is the line.
  auto pauser = MakeSystemPauser();
  const int pauses = 40;
  const microseconds each(3000);
  auto cpuBefore = ThreadCpuTime();
  auto start = std::chrono::steady_clock::now();
  for (int i = 0; i < pauses; ++i) pauser->Pause(each);
  auto wall = std::chrono::steady_clock::now() - start;
  auto cpu = ThreadCpuTime() - cpuBefore;
  EXPECT_GE(wall, each * pauses);
  EXPECT_LT(cpu, each * pauses / 2) << "processor time " << cpu.count() << " us";
}

}  // namespace
}  // namespace vortal
