// The communications library's goals, measured:
// - ZModem receive of a 20 MB file from lrzsz's sz over a local TCP connection, our receiver
//   against lrzsz's rz receiving the same file from the same sz; counter "vs_rz" is our
//   throughput as a multiple of rz's (goal: at least 0.8).
// - Terminal throughput: 1 MB of mixed ANSI mailbox text through a pseudo-terminal, the port,
//   the emulator and the display's repaints; counters "seconds" (goal: under 1) and
//   "max_block_ms", the longest time the GUI thread did not get back to its event loop (goal:
//   at most 20).
#include "comms/ComLine.h"
#include "comms/ComPort.h"
#include "comms/Protocol.h"
#include "comms/Terminal.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QTimer>
#include <arpa/inet.h>
#include <benchmark/benchmark.h>
#include <chrono>
#include <csignal>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <netinet/in.h>
#include <random>
#include <stdlib.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace {

namespace fs = std::filesystem;

constexpr std::size_t kZmodemFileSize = 20 * 1024 * 1024;

struct Scratch {
    Scratch() {
        root = fs::temp_directory_path() / ("comms-bench-" + std::to_string(getpid()));
        fs::create_directories(root / "source");
        std::mt19937 random(1);
        std::string data(kZmodemFileSize, '\0');
        for (char& c : data)
            c = static_cast<char>(random());
        std::ofstream(root / "source" / "big.bin", std::ios::binary) << data;
    }
    ~Scratch() { fs::remove_all(root); }
    fs::path Destination() const {
        const fs::path folder = root / "destination";
        fs::remove_all(folder);
        fs::create_directories(folder);
        return folder;
    }
    fs::path root;
};

const Scratch& Files() {
    static const Scratch scratch;
    return scratch;
}

// Runs program in folder with its standard input and output on fd; returns its pid.
pid_t Spawn(const char* program, std::vector<const char*> args, const fs::path& folder, int fd) {
    const pid_t pid = fork();
    if (pid == 0) {
        if (chdir(folder.c_str()) != 0)
            _exit(126);
        dup2(fd, 0);
        dup2(fd, 1);
        const int null = open("/dev/null", O_WRONLY);
        dup2(null, 2);
        args.insert(args.begin(), program);
        args.push_back(nullptr);
        execvp(program, const_cast<char* const*>(args.data()));
        _exit(127);
    }
    return pid;
}

// A listener on 127.0.0.1 whose first caller gets sz sending big.bin.
struct SzServer {
    SzServer() {
        listener = socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        bind(listener, reinterpret_cast<sockaddr*>(&address), sizeof address);
        listen(listener, 1);
        socklen_t length = sizeof address;
        getsockname(listener, reinterpret_cast<sockaddr*>(&address), &length);
        port = ntohs(address.sin_port);
        acceptor = std::thread([this] {
            const int connection = accept(listener, nullptr, nullptr);
            sz = Spawn("sz", {"-q", "big.bin"}, Files().root / "source", connection);
            close(connection);
        });
    }
    ~SzServer() {
        acceptor.join();
        close(listener);
        int status = 0;
        waitpid(sz, &status, 0);
    }
    int listener;
    quint16 port = 0;
    pid_t sz = -1;
    std::thread acceptor;
};

double SecondsOfRz() {
    SzServer server;
    const int caller = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    address.sin_port = htons(server.port);
    const auto start = std::chrono::steady_clock::now();
    connect(caller, reinterpret_cast<sockaddr*>(&address), sizeof address);
    const pid_t rz = Spawn("rz", {"-q", "-y"}, Files().Destination(), caller);
    close(caller);
    int status = 0;
    waitpid(rz, &status, 0);
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

double SecondsOfOurs() {
    SzServer server;
    comms::TComPort port;
    comms::TProtocol protocol(&port);
    const fs::path destination = Files().Destination();
    protocol.SetDestinationDirectory(QString::fromStdString(destination.string()));
    bool done = false;
    QObject::connect(&protocol, &comms::TProtocol::ProtocolFinish, [&] { done = true; });
    auto* line = new comms::TNetworkLine(false);
    QObject::connect(line, &comms::TNetworkLine::Connected, [&] {
        port.AttachLine(line);
        protocol.StartReceive();
    });
    QElapsedTimer clock;
    clock.start();
    line->Connect("127.0.0.1", server.port);
    while (!done)
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    const double seconds = clock.nsecsElapsed() / 1e9;
    if (!protocol.Completed() || fs::file_size(destination / "big.bin") != kZmodemFileSize)
        std::abort();
    return seconds;
}

void ZmodemReceive20MB(benchmark::State& state) {
    Files();
    double rz = 0;
    double ours = 0;
    for (auto _ : state) {
        rz = SecondsOfRz();
        ours = SecondsOfOurs();
        state.SetIterationTime(ours);
    }
    state.counters["rz_MBps"] = kZmodemFileSize / rz / 1e6;
    state.counters["ours_MBps"] = kZmodemFileSize / ours / 1e6;
    state.counters["vs_rz"] = rz / ours;
}
BENCHMARK(ZmodemReceive20MB)
    ->UseManualTime()
    ->Iterations(1)
    ->Repetitions(5)
    ->Unit(benchmark::kMillisecond);

// Mailbox text: colours, cursor moves, box lines, umlauts in code page 437.
std::string MailboxText(std::size_t size) {
    std::string text;
    std::mt19937 random(2);
    while (text.size() < size) {
        text += "\x1b[" + std::to_string(random() % 2) + ";" + std::to_string(30 + random() % 8) +
                ";" + std::to_string(40 + random() % 8) + "m";
        text += "\xc9\xcd\xcd\xcd\xbb Komponente " + std::to_string(random() % 10000) +
                " \x84\x94\x81 \xb0\xb1\xb2\xdb ";
        if (random() % 4 == 0)
            text += "\x1b[" + std::to_string(1 + random() % 24) + ";" +
                    std::to_string(1 + random() % 60) + "H";
        text += "\r\n";
    }
    text.resize(size);
    return text;
}

void TerminalThroughput1MB(benchmark::State& state) {
    const std::string text = MailboxText(1 << 20);
    double maxBlockMs = 0;
    double seconds = 0;
    for (auto _ : state) {
        const int master = posix_openpt(O_RDWR | O_NOCTTY);
        grantpt(master);
        unlockpt(master);
        comms::TComPort port;
        port.OpenDevice(ptsname(master));
        comms::TTerminal terminal;
        terminal.SetComPort(&port);
        terminal.SetActive(true);
        terminal.show();
        std::size_t shown = 0;
        QObject::connect(&port, &comms::TComPort::DataReceived,
                         [&](const QByteArray& bytes) { shown += bytes.size(); });
        QElapsedTimer sinceTick;
        double longest = 0;
        QTimer ticker;
        QObject::connect(&ticker, &QTimer::timeout, [&] {
            longest = std::max(longest, sinceTick.nsecsElapsed() / 1e6);
            sinceTick.restart();
        });
        ticker.start(0);
        std::thread writer([&] {
            for (std::size_t at = 0; at < text.size();) {
                const ssize_t n =
                    write(master, text.data() + at, std::min<std::size_t>(4096, text.size() - at));
                at += n > 0 ? static_cast<std::size_t>(n) : 0;
            }
        });
        QElapsedTimer clock;
        clock.start();
        sinceTick.start();
        while (shown < text.size())
            QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
        terminal.repaint();
        seconds = clock.nsecsElapsed() / 1e9;
        writer.join();
        ticker.stop();
        maxBlockMs = longest;
        state.SetIterationTime(seconds);
        close(master);
    }
    state.counters["seconds"] = seconds;
    state.counters["max_block_ms"] = maxBlockMs;
    state.counters["MBps"] = text.size() / seconds / 1e6;
}
BENCHMARK(TerminalThroughput1MB)
    ->UseManualTime()
    ->Iterations(1)
    ->Repetitions(5)
    ->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    signal(SIGPIPE, SIG_IGN);
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
