// The platform message box of a GUI program: a plain Qt message box with an OK button, for the
// low-level failures that core code reports (platform/MessageBox.h).
#pragma once

namespace util {

// From now on the platform's messages are shown in a message box without owner.
void ShowPlatformMessagesInBoxes();

} // namespace util
