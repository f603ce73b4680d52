// The window thread's message loop, run in place until a condition holds: how the window waits
// for the worker's completion message while still serving its results and questions.
#pragma once

#include <functional>

class MessagePump {
 public:
  virtual ~MessagePump() = default;
  // Serves the worker's messages on the calling (window) thread until done() is true.
  virtual void ServeUntil(const std::function<bool()>& done) = 0;
};
