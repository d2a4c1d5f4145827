// Port: key combinations the system holds for a window, wherever the focus is.
#pragma once

// Modifier flags as the system takes them.
constexpr unsigned kHotKeyAlt = 1;
constexpr unsigned kHotKeyControl = 2;
constexpr unsigned kHotKeyShift = 4;

class HotKeys {
 public:
  virtual ~HotKeys() = default;
  // Asks the system to send `window` the hotkey message with `id` whenever the
  // combination is pressed. False when it refuses: another program holds the combination,
  // or `key` is no key.
  virtual bool Register(void* window, int id, unsigned modifiers, unsigned key) = 0;
  // Gives the combination held under `id` for `window` back to the system.
  virtual void Unregister(void* window, int id) = 0;
};
