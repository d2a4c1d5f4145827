// The main window: creates it with its controller, then runs the message loop.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "app/mainform.h"

// Creates the main window hidden, runs the controller's FormCreate, calls `created`,
// shows the window and runs the message loop until the window is destroyed.
int RunMainWindow(const MainPorts& ports, const std::vector<std::string>& args,
                  const std::function<void()>& created);
