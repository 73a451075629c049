// The test peers in peers/: the mailbox (bbs.py) and the Hayes modem (modem.py), each run as a
// child process for one test, plus helpers that wait on the Qt event loop with a time-out.
#pragma once

#include "support/TempDir.h"

#include <functional>
#include <string>
#include <vector>

namespace comms_test {

// Runs the event loop until done() or timeoutMs passed; returns done().
bool PumpUntil(const std::function<bool()>& done, int timeoutMs = 30000);
// Runs the event loop for ms.
void Pump(int ms);

// A pseudo-terminal standing in for a serial device: the port under test opens Slave(), the test
// holds the master side (not blocking).
class Pty {
public:
    Pty();
    ~Pty() { CloseMaster(); }
    Pty(const Pty&) = delete;
    Pty& operator=(const Pty&) = delete;

    std::string Slave() const;
    int Master() const { return master_; }
    // Writes bytes to the line; false when not all of them went.
    [[nodiscard]] bool Send(const std::string& bytes);
    // All that arrived from the line so far.
    std::string Received();
    // Closes the master side: the line is lost.
    void CloseMaster();

private:
    int master_;
    std::string received_;
};

class PeerProcess {
public:
    // Starts python3 peers/<script> with args and waits (20 s at most) until it has written
    // readyFile; Ready() says whether it did.
    PeerProcess(const std::string& script, const std::vector<std::string>& args,
                const std::string& readyFile);
    ~PeerProcess();
    PeerProcess(const PeerProcess&) = delete;
    PeerProcess& operator=(const PeerProcess&) = delete;

    bool Ready() const { return !readyText_.empty(); }
    const std::string& ReadyText() const { return readyText_; }
    void Stop();

private:
    int pid_ = -1;
    std::string readyText_;
};

// The mailbox serving the files in Folder() (sent in the order given).
class Mailbox {
public:
    explicit Mailbox(const std::vector<std::string>& files,
                     const std::vector<std::string>& options = {});

    const testing_support::TempDir& Folder() const { return folder_; }
    bool Ready() const { return process_ && process_->Ready(); }
    int Port() const;
    std::string PortFile() const { return portFile_; }

private:
    testing_support::TempDir folder_;
    testing_support::TempDir state_;
    std::string portFile_;
    std::unique_ptr<PeerProcess> process_;
};

// The modem emulator dialling into a mailbox; Device() is its pseudo-terminal.
class ModemEmulator {
public:
    ModemEmulator(const Mailbox& mailbox, const std::vector<std::string>& options = {});
    bool Ready() const { return process_.Ready(); }
    std::string Device() const { return process_.ReadyText(); }

private:
    testing_support::TempDir state_;
    PeerProcess process_;
};

// The expected welcome screen: 24 text rows (UTF-8), then 24 rows of foreground and 24 of
// background colours as hex digits.
std::vector<std::string> ExpectedWelcomeScreen();

} // namespace comms_test
