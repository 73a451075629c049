// TDynaZip: the base of the unzip component. It owns the four events and the plain callback
// functions handed to the unzip library; each callback finds the component through its user
// data and runs the event's handler, whose out-parameter starts as false or 0.
//
// An error a handler raises never passes through the library: the callback keeps it, answers
// "cancel" (and every later callback of the call answers so without running a handler), and
// the component raises it again once the library has returned.
#pragma once

#include "dunzip/dunzip.h"
#include "rtl/Component.h"

#include <cstdint>
#include <exception>
#include <functional>

namespace install {

using TStatusCallback =
    std::function<void(const char* szItem, std::int32_t Percent, bool& DoCancel)>;
using TMessageCallback =
    std::function<void(std::uint16_t MsgID, std::uint16_t mbType, std::int32_t p1, std::int32_t p2,
                       char* lpsz1, char* lpsz2, std::int32_t& RtnResult)>;
using PDZRename = DunzipRename*;
using TRenameCallback = std::function<void(PDZRename dzr)>;

class TDynaZip : public rtl::TComponent {
public:
    explicit TDynaZip(rtl::TComponent* owner) : rtl::TComponent(owner) {}

    TStatusCallback OnMajorCallback;
    TStatusCallback OnMinorCallback;
    TMessageCallback OnMessageCallback;
    TRenameCallback OnRenameCallback;

    // The plain callbacks; userData is the component.
    static std::int32_t MajorCallback(const char* item, std::int32_t percent, void* userData);
    static std::int32_t MinorCallback(const char* item, std::int32_t percent, void* userData);
    static std::int32_t MessageCallback(std::uint32_t messageId, std::uint32_t boxType,
                                        std::int32_t p1, std::int32_t p2, char* text1, char* text2,
                                        void* userData);
    static std::int32_t RenameCallback(DunzipRename* record, void* userData);

protected:
    // Forgets an error kept from an earlier call.
    void BeginLibraryCall() { handlerError_ = nullptr; }
    // Raises the error a handler raised during the call, if any.
    void EndLibraryCall();

private:
    static std::int32_t Status(const TStatusCallback& handler, const char* item,
                               std::int32_t percent, void* userData);
    // Runs call unless an error is kept; keeps the error call raises. False when it did not
    // complete.
    bool RunHandler(const std::function<void()>& call);

    std::exception_ptr handlerError_;
};

} // namespace install
