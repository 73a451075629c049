// Running part of a test in a forked child process, where limits and dropped privileges stay
// behind when it ends: a full disk through a file-size limit, a read-only folder that root too
// must respect.
#pragma once

#include <cstddef>
#include <functional>

namespace testing_support {

// Runs body in a child process; its result is the child's exit status. -1 when the child did
// not exit normally (a signal, a crash).
int RunInChild(const std::function<int()>& body);

// In a child: files cannot grow beyond bytes (a write that would fails like on a full disk).
void LimitFileSize(std::size_t bytes);

// In a child: root loses the capabilities that let it ignore file permissions. Nothing happens
// for an ordinary user, whom the permissions bind anyway.
void ObeyFilePermissions();

} // namespace testing_support
