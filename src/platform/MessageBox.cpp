#include "platform/MessageBox.h"

#include "platform/CodePage.h"

#include <iostream>
#include <mutex>

namespace platform {

namespace {

std::mutex handlerMutex;
MessageBoxHandler currentHandler;

void PrintToStandardError(const std::string& text, const std::string& caption) {
    std::cerr << Ansi1252ToUtf8(caption) << ": " << Ansi1252ToUtf8(text) << std::endl;
}

} // namespace

void SetMessageBoxHandler(MessageBoxHandler handler) {
    const std::lock_guard lock(handlerMutex);
    currentHandler = std::move(handler);
}

void ShowMessageBox(const std::string& text, const std::string& caption) {
    MessageBoxHandler handler;
    {
        const std::lock_guard lock(handlerMutex);
        handler = currentHandler;
    }
    if (handler)
        handler(text, caption);
    else
        PrintToStandardError(text, caption);
}

} // namespace platform
