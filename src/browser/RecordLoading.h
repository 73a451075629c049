// Reading one catalogue record by the catalogue's protocol: container opened, data stream
// positioned at the record, indexed stream assigned, Load.
#pragma once

#include "catalog/Container.h"
#include "catalog/Records.h"

#include <cstdint>

namespace browser {

// Record is any record kind that remembers its Offset (info, short and component texts).
template <class Record>
void LoadRecordAt(catalog::TBrowzerContainer& container, std::uint32_t offset, Record& record) {
    record.Offset = offset;
    container.SetActive(true);
    record.LoadAt(*container.Indexed(), offset);
}

} // namespace browser
