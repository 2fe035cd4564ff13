// The listener thread: reads the mouse's event reports and hands each event
// to a handler (the window's synchronous WM_USER+2). It is created
// suspended, blocks without using the processor while there is no mouse, and
// picks up the event collection of every newly found mouse.
#pragma once

#include <windows.h>

#include <atomic>
#include <functional>
#include <memory>
#include <mutex>

#include "device/device_events.h"
#include "device/hid_port.h"

namespace vortal {

class EventListener {
 public:
  using Handler = std::function<void(DeviceEvent)>;
  explicit EventListener(Handler handler) : handler_(std::move(handler)) {}
  // Stops the thread and waits briefly for it.
  ~EventListener();
  EventListener(const EventListener&) = delete;
  EventListener& operator=(const EventListener&) = delete;

  // The wake-up event (manual reset, not signalled) and the thread,
  // suspended. False when the event cannot be created.
  bool Create();
  bool created() const { return wake_ != nullptr; }
  // Starts the thread; later calls do nothing.
  void Resume();
  // The event collection to read from now on (null: none). A read blocked on
  // the previous one ends at once.
  void UsePort(std::unique_ptr<EventPort> port);
  // Ends the listener: no further event is handed on. The wake-up event is
  // closed as soon as no thread can be waiting on it.
  void Stop();

 private:
  static DWORD WINAPI ThreadMain(LPVOID self);
  void Run();

  Handler handler_;
  HANDLE wake_ = nullptr;
  HANDLE thread_ = nullptr;
  bool resumed_ = false;
  std::atomic<bool> stopping_{false};
  std::mutex portMutex_;
  std::shared_ptr<EventPort> port_;
};

}  // namespace vortal
