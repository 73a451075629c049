#include "install/DynaZip.h"

#include <utility>

namespace install {

namespace {

constexpr std::int32_t kCancel = 1;

TDynaZip& ComponentOf(void* userData) {
    return *static_cast<TDynaZip*>(userData);
}

} // namespace

void TDynaZip::EndLibraryCall() {
    if (handlerError_)
        std::rethrow_exception(std::exchange(handlerError_, nullptr));
}

bool TDynaZip::RunHandler(const std::function<void()>& call) {
    if (handlerError_)
        return false;
    try {
        call();
        return true;
    } catch (...) {
        handlerError_ = std::current_exception();
        return false;
    }
}

std::int32_t TDynaZip::Status(const TStatusCallback& handler, const char* item,
                              std::int32_t percent, void* userData) {
    bool doCancel = false;
    if (handler && !ComponentOf(userData).RunHandler([&] { handler(item, percent, doCancel); }))
        return kCancel;
    return doCancel ? kCancel : 0;
}

std::int32_t TDynaZip::MajorCallback(const char* item, std::int32_t percent, void* userData) {
    return Status(ComponentOf(userData).OnMajorCallback, item, percent, userData);
}

std::int32_t TDynaZip::MinorCallback(const char* item, std::int32_t percent, void* userData) {
    return Status(ComponentOf(userData).OnMinorCallback, item, percent, userData);
}

std::int32_t TDynaZip::MessageCallback(std::uint32_t messageId, std::uint32_t boxType,
                                       std::int32_t p1, std::int32_t p2, char* text1, char* text2,
                                       void* userData) {
    TDynaZip& component = ComponentOf(userData);
    std::int32_t result = 0;
    if (component.OnMessageCallback && !component.RunHandler([&] {
            component.OnMessageCallback(static_cast<std::uint16_t>(messageId),
                                        static_cast<std::uint16_t>(boxType), p1, p2, text1, text2,
                                        result);
        }))
        return DUNZIP_CANCEL;
    return result;
}

std::int32_t TDynaZip::RenameCallback(DunzipRename* record, void* userData) {
    TDynaZip& component = ComponentOf(userData);
    if (component.OnRenameCallback)
        component.RunHandler([&] { component.OnRenameCallback(record); });
    return 0;
}

} // namespace install
