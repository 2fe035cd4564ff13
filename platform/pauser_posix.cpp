#include <time.h>

#include <cerrno>

#include "platform/hid_backend_factory.h"

namespace vortal {
namespace {

// Sleeps to an absolute deadline on the monotonic clock, so signals and
// early wake-ups never shorten a pause.
class MonotonicPauser : public Pauser {
 public:
  void Pause(std::chrono::microseconds duration) override {
    if (duration.count() <= 0) return;
    timespec deadline;
    clock_gettime(CLOCK_MONOTONIC, &deadline);
    long long nanoseconds = deadline.tv_nsec + duration.count() * 1000LL;
    deadline.tv_sec += static_cast<time_t>(nanoseconds / 1000000000LL);
    deadline.tv_nsec = static_cast<long>(nanoseconds % 1000000000LL);
    while (clock_nanosleep(CLOCK_MONOTONIC, TIMER_ABSTIME, &deadline, nullptr) == EINTR) {
    }
  }
};

}  // namespace

std::unique_ptr<Pauser> MakeSystemPauser() { return std::make_unique<MonotonicPauser>(); }

}  // namespace vortal
