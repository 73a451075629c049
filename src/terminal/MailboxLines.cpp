#include "terminal/MailboxLines.h"

#include "comms/DialDirectory.h"

namespace terminal {

void ProvideDemoDirectory() {
    comms::TDialDirectory directory(QString::fromLatin1(kDemoMailboxDevice));
    if (directory.Stored())
        return;
    std::vector<comms::TDialEntry> entries;
    for (const TMailboxLine& line : kMailboxLines)
        entries.push_back({QString::fromLatin1(line.number), QString::fromLatin1(kDemoMailboxHost),
                           kDemoMailboxPort});
    directory.SetEntries(std::move(entries));
    directory.Save();
}

} // namespace terminal
