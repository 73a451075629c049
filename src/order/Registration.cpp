#include "order/Registration.h"

#include "platform/UserAccount.h"
#include "util/RegKey.h"

namespace order {

namespace {

constexpr std::uint32_t kValueBuffer = 255;

// A value that is missing, too long or no string leaves the field empty: the prefill is only a
// proposal, and the form opens all the same.
std::string ReadValue(util::TRegKey& key, const std::string& name) {
    try {
        return key.ReadString(name, std::string(), kValueBuffer);
    } catch (const util::ERegKey&) {
        return {};
    }
}

TRegistration ReadFrom(const char* keyPath) {
    util::TRegKey key(platform::HKEY_LOCAL_MACHINE, keyPath, true);
    if (key.LastResult() != platform::ERROR_SUCCESS)
        return {};
    return {ReadValue(key, "RegisteredOrganization"), ReadValue(key, "RegisteredOwner")};
}

bool IsEmpty(const TRegistration& registration) {
    return registration.Organization.empty() && registration.Owner.empty();
}

} // namespace

TRegistration ReadRegistration() {
    TRegistration registration = ReadFrom("Software\\MicroSoft\\Windows\\CurrentVersion");
    if (IsEmpty(registration))
        registration = ReadFrom("Software\\MicroSoft\\Windows NT\\CurrentVersion");
    if (IsEmpty(registration))
        registration.Owner = platform::AccountFullName();
    return registration;
}

} // namespace order
