#include "order/OrderAddresses.h"

namespace order {

// The telephone and fax numbers are from the ranges the German telecommunications regulator
// keeps unassigned for use in fiction; no such ranges are known for Austria and Switzerland, so
// the distributors' numbers are German ones too, written as dialled from abroad. The e-mail
// domains are reserved example domains.

const TPartyAddress& MakerAddress() {
    static const TPartyAddress address{
        .Company = QStringLiteral("Kestrova Software"),
        .Contact = QStringLiteral("Jonas Kestrov"),
        .Street = QStringLiteral("Am Kiesgrund 7"),
        .PostalCodeAndCity = QStringLiteral("80997 München"),
        .Country = QStringLiteral("Deutschland"),
        .Telephone = QStringLiteral("089 99998-100"),
        .Fax = QStringLiteral("089 99998-101"),
        .OnlineId = QStringLiteral("KestrovaNet: 74112,3301"),
        .FidoNode = QStringLiteral("2:2480/901"),
        .MailboxTelephone = QStringLiteral("089 99998-102"),
        .EMail = QStringLiteral("bestellung@kestrova.example"),
    };
    return address;
}

const TPartyAddress& AustrianDistributor() {
    static const TPartyAddress address{
        .Contact = QStringLiteral("Lena Hofbauer"),
        .Street = QStringLiteral("Weidengasse 3"),
        .PostalCodeAndCity = QStringLiteral("4020 Linz"),
        .Country = QStringLiteral("Österreich"),
        .Telephone = QStringLiteral("0049 69 90009-210"),
        .Fax = QStringLiteral("0049 69 90009-211"),
        .FidoNode = QStringLiteral("2:313/901"),
        .EMail = QStringLiteral("kestrova@vertrieb-at.example"),
    };
    return address;
}

const TPartyAddress& SwissDistributor() {
    static const TPartyAddress address{
        .Company = QStringLiteral("Alpfirn Datentechnik"),
        .Contact = QStringLiteral("Urs Brändli"),
        .Street = QStringLiteral("Seeweg 12"),
        .PostalCodeAndCity = QStringLiteral("8002 Zürich"),
        .Country = QStringLiteral("Schweiz"),
        .Telephone = QStringLiteral("0049 40 66969-310"),
        .Fax = QStringLiteral("0049 40 66969-311"),
        .FidoNode = QStringLiteral("2:301/901"),
        .MailboxTelephone = QStringLiteral("0049 40 66969-312"),
        .EMail = QStringLiteral("kestrova@vertrieb-ch.example"),
    };
    return address;
}

} // namespace order
