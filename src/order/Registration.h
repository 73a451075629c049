// The owner and organisation the Windows registration names, with which the order form
// prefills its name and company fields.
#pragma once

#include <string>

namespace order {

struct TRegistration {
    std::string Organization; // Windows-1252, as all registry text
    std::string Owner;
};

// Reads RegisteredOrganization and RegisteredOwner from the key
// "Software\MicroSoft\Windows\CurrentVersion" of the local machine, and, when both are empty,
// from "Software\MicroSoft\Windows NT\CurrentVersion". A key or value that is missing or cannot
// be read counts as empty. When both are still empty, the owner is the account's full name.
TRegistration ReadRegistration();

} // namespace order
