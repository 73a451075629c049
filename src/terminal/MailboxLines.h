// The maker's mailbox lines the number dialog offers, with their telephone numbers. The numbers
// are our own (fictional) configuration; on this platform's line device "Telnet" they lead to the
// demo mailbox on this computer (tools/demo-mailbox, 127.0.0.1 port 2323), so the whole way can
// be tried without a modem.
#pragma once

#include <QString>
#include <array>

namespace terminal {

struct TMailboxLine {
    const char* caption;
    const char* number;
};

inline constexpr std::array<TMailboxLine, 3> kMailboxLines{{
    {"Line 1 - 2 (Analog V34+)", "05551234560"},
    {"Line 3 - 4 (Analog V34+)", "05551234570"},
    {"Line 5 (ISDN X.75)", "05551234580"},
}};

inline constexpr const char* kDemoMailboxDevice = "Telnet";
inline constexpr const char* kDemoMailboxHost = "127.0.0.1";
inline constexpr quint16 kDemoMailboxPort = 2323;

// Gives the demo mailbox device a dialling directory of the mailbox lines, unless it has one
// stored already (the user's own entries are never replaced). ERegKey when it cannot be stored.
void ProvideDemoDirectory();

} // namespace terminal
