#include "catalog/RecordIO.h"

#include "rtl/Exceptions.h"

#include <exception>

namespace catalog {

void WriteStrings(rtl::TWriter& writer, const rtl::TStringList& strings) {
    writer.WriteInteger(strings.Count());
    for (const auto& item : strings)
        writer.WriteString(item.text);
}

void WriteStrings(rtl::TStream& stream, const rtl::TStringList& strings) {
    rtl::TWriter writer(stream, kStringListBufferSize);
    WriteStrings(writer, strings);
    writer.FlushBuffer();
}

void ReadStrings(rtl::TReader& reader, rtl::TStringList& strings) {
    rtl::UpdateGuard update(strings);
    strings.Clear();
    try {
        const std::int32_t count = reader.ReadInteger();
        for (std::int32_t i = 0; i < count; ++i)
            strings.Add(reader.ReadString());
    } catch (const rtl::EReadBudgetError&) {
        throw;
    } catch (const std::exception&) {
        // Damaged list: keep what was read.
    }
}

void ReadStrings(rtl::TStream& stream, rtl::TStringList& strings) {
    rtl::TReader reader(stream, kStringListBufferSize);
    ReadStrings(reader, strings);
}

} // namespace catalog
