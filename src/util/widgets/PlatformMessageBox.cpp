#include "util/widgets/PlatformMessageBox.h"

#include "platform/CodePage.h"
#include "platform/MessageBox.h"

#include <QMessageBox>

namespace util {

void ShowPlatformMessagesInBoxes() {
    platform::SetMessageBoxHandler([](const std::string& text, const std::string& caption) {
        QMessageBox box(QMessageBox::Critical,
                        QString::fromStdString(platform::Ansi1252ToUtf8(caption)),
                        QString::fromStdString(platform::Ansi1252ToUtf8(text)), QMessageBox::Ok);
        box.exec();
    });
}

} // namespace util
