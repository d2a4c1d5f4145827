// Port: the user-interface thread's timers and message pumping.
#pragma once

#include <functional>
#include <memory>

// A timer whose ticks run on the user-interface thread, like a window timer.
class UiTimer {
 public:
  virtual ~UiTimer() = default;
  // A new interval on an enabled timer restarts its countdown with that interval;
  // setting the interval it already has changes nothing.
  virtual void SetInterval(unsigned milliseconds) = 0;
  // Safe to call from any thread; the tick itself always runs on the UI thread.
  // Enabling a disabled timer starts its countdown; enabling an enabled one leaves the
  // countdown alone, so SetEnabled(false) then SetEnabled(true) is the way to restart it.
  virtual void SetEnabled(bool enabled) = 0;
  virtual bool Enabled() const = 0;

  std::function<void()> OnTimer;
};

// A system event that other threads or the system itself set, such as RAS when a line
// ends. OnSignal runs on the UI thread after the event was set, once for any number of
// settings that arrived meanwhile.
class UiSignal {
 public:
  virtual ~UiSignal() = default;
  // The event's system handle, for the service that is to set it.
  virtual void* Handle() const = 0;

  std::function<void()> OnSignal;
};

class UiLoop {
 public:
  virtual ~UiLoop() = default;
  // The timer starts disabled. It must be created on the UI thread.
  virtual std::unique_ptr<UiTimer> CreateTimer() = 0;
  // It must be created and destroyed on the UI thread.
  virtual std::unique_ptr<UiSignal> CreateSignal() = 0;
  // Runs whatever the UI thread has pending (messages, due timers), then returns.
  virtual void ProcessMessages() = 0;
};
