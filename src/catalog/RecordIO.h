// String lists inside records: an int32 count followed by that many tagged strings.
#pragma once

#include "rtl/Filer.h"
#include "rtl/Stream.h"
#include "rtl/StringList.h"

namespace catalog {

// Buffer of the reader or writer the stream overloads create for themselves.
inline constexpr std::int32_t kStringListBufferSize = 4096;

void WriteStrings(rtl::TWriter& writer, const rtl::TStringList& strings);
void WriteStrings(rtl::TStream& stream, const rtl::TStringList& strings);

// Clears strings and reads a count and that many strings, inside one update bracket. Any error
// is swallowed: the list keeps what was read and the caller reads on after the failure. Every
// string consumes input, so a damaged count ends at the end of the data, never in a loop or an
// allocation sized by the count.
void ReadStrings(rtl::TReader& reader, rtl::TStringList& strings);
void ReadStrings(rtl::TStream& stream, rtl::TStringList& strings);

} // namespace catalog
