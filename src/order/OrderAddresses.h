// The addresses an order goes to: the maker, and the distributors for Austria and Switzerland.
// Configuration data, kept here alone; the composer (OrderComposer.h) decides which rows of a
// block are printed and with which prefixes.
#pragma once

#include <QString>

namespace order {

struct TPartyAddress {
    QString Company = {};
    QString Contact = {};
    QString Street = {};
    QString PostalCodeAndCity = {};
    QString Country = {};
    QString Telephone = {};
    QString Fax = {};
    QString OnlineId = {}; // with the online service's label
    QString FidoNode = {};
    QString MailboxTelephone = {};
    QString EMail = {};
};

const TPartyAddress& MakerAddress();
const TPartyAddress& AustrianDistributor();
const TPartyAddress& SwissDistributor();

} // namespace order
