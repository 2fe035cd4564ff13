#include "app/event_listener.h"

#include "platform/thread_name.h"

namespace vortal {
namespace {
constexpr DWORD kStopWaitMs = 2000;
}  // namespace

EventListener::~EventListener() {
  Stop();
  if (thread_) {
    if (!resumed_) ResumeThread(thread_);  // it sees the stop and ends at once
    WaitForSingleObject(thread_, kStopWaitMs);
    CloseHandle(thread_);
  }
  if (wake_) CloseHandle(wake_);
}

bool EventListener::Create() {
  wake_ = CreateEventW(nullptr, TRUE, FALSE, nullptr);
  if (!wake_) return false;
  thread_ = CreateThread(nullptr, 0, ThreadMain, this, CREATE_SUSPENDED, nullptr);
  return true;
}

void EventListener::Resume() {
  if (!thread_ || resumed_) return;
  resumed_ = true;
  ResumeThread(thread_);
}

void EventListener::UsePort(std::unique_ptr<EventPort> port) {
  std::shared_ptr<EventPort> previous;
  {
    std::lock_guard<std::mutex> lock(portMutex_);
    previous = std::move(port_);
    port_ = std::move(port);
  }
  if (previous) previous->Cancel();
  if (wake_) SetEvent(wake_);
}

void EventListener::Stop() {
  stopping_.store(true);
  UsePort(nullptr);
}

DWORD WINAPI EventListener::ThreadMain(LPVOID self) {
  NameThisThread("vortal-listener");
  static_cast<EventListener*>(self)->Run();
  return 0;
}

void EventListener::Run() {
  std::shared_ptr<EventPort> finished;
  for (;;) {
    // Reset before looking, so a port set after the look wakes the wait.
    ResetEvent(wake_);
    if (stopping_.load()) return;
    std::shared_ptr<EventPort> port;
    {
      std::lock_guard<std::mutex> lock(portMutex_);
      port = port_;
    }
    // No mouse, or its collection has stopped answering: sleep until the
    // port changes.
    if (!port || port == finished) {
      WaitForSingleObject(wake_, INFINITE);
      continue;
    }
    ListenForEvents(*port, [this](DeviceEvent event) {
      if (!stopping_.load()) handler_(event);
    });
    finished = port;
  }
}

}  // namespace vortal
