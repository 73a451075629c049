// The platform's own message box for the few low-level failures that core code reports directly
// (a failed directory removal, a missing unzip library). Core code cannot show a window, so the
// GUI installs a handler at start; until then the message goes to standard error (as UTF-8).
#pragma once

#include <functional>
#include <string>

namespace platform {

// text and caption are Windows-1252, as all program messages.
using MessageBoxHandler = std::function<void(const std::string& text, const std::string& caption)>;

// Replaces the handler; an empty handler restores the standard-error default.
void SetMessageBoxHandler(MessageBoxHandler handler);

// Shows text with caption and an OK button through the current handler.
void ShowMessageBox(const std::string& text, const std::string& caption);

} // namespace platform
