#include "order/Registration.h"

#include "entryfields/EntryField.h"
#include "order/BestellForm.h"
#include "platform/ScopedConfigFolder.h"
#include "platform/UserAccount.h"
#include "support/QtPrinting.h"
#include "util/RegKey.h"

#include <gtest/gtest.h>

using order::ReadRegistration;

namespace {

constexpr const char* kWindows = "Software\\MicroSoft\\Windows\\CurrentVersion";
constexpr const char* kWindowsNt = "Software\\MicroSoft\\Windows NT\\CurrentVersion";

void Register(const char* keyPath, const std::string& organization, const std::string& owner) {
    util::TRegKey key(platform::HKEY_LOCAL_MACHINE, keyPath, false);
    ASSERT_EQ(key.LastResult(), 0);
    if (!organization.empty())
        key.WriteString("RegisteredOrganization", organization);
    if (!owner.empty())
        key.WriteString("RegisteredOwner", owner);
}

// Each test registers into a hive of its own.
class Registration : public testing::Test {
    testing_support::ScopedConfigFolder config_;
};

TEST_F(Registration, TheFormTakesCompanyAndNameFromTheWindowsRegistration) {
    Register(kWindows, "M\xFCller GmbH", "Eva M\xFCller");
    Register(kWindowsNt, "Andere", "Andere");
    order::TBestellForm form;
    EXPECT_EQ(form.FirmaField->AsString(), "Müller GmbH");
    EXPECT_EQ(form.NameField->AsString(), "Eva Müller");
}

TEST_F(Registration, TheSecondKeyCountsOnlyWhenTheFirstNamesNoOne) {
    Register(kWindowsNt, "", "Nur NT");
    EXPECT_EQ(ReadRegistration().Owner, "Nur NT");
    Register(kWindows, "Nur Firma", "");
    EXPECT_EQ(ReadRegistration().Organization, "Nur Firma");
    EXPECT_EQ(ReadRegistration().Owner, "");
}

TEST_F(Registration, WithoutAnyTheAccountsFullNameIsTheName) {
    const order::TRegistration registration = ReadRegistration();
    EXPECT_EQ(registration.Organization, "");
    EXPECT_EQ(registration.Owner, platform::AccountFullName());
}

TEST_F(Registration, AValueThatCannotBeReadCountsAsEmpty) {
    Register(kWindows, std::string(300, 'x'), "Eva");
    const order::TRegistration registration = ReadRegistration();
    EXPECT_EQ(registration.Organization, "");
    EXPECT_EQ(registration.Owner, "Eva");
}

} // namespace
