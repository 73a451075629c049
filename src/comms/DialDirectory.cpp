#include "comms/DialDirectory.h"

#include "platform/CodePage.h"
#include "util/AppSettings.h"
#include "util/RegKey.h"

#include <QStringList>
#include <algorithm>

namespace comms {

namespace {

constexpr std::uint32_t kMaxValue = 256;
constexpr std::int32_t kMaxEntries = 100;

std::string Ansi(const QString& text) {
    return platform::Utf8ToAnsi1252Lossy(text.toStdString());
}

QString FromAnsi(const std::string& text) {
    return QString::fromStdString(platform::Ansi1252ToUtf8(text));
}

QString DigitsOf(const QString& number) {
    QString digits;
    for (QChar c : number)
        if (c.isDigit())
            digits += c;
    return digits;
}

// "host:port" or "host"; nullopt for a bad port.
std::optional<std::pair<QString, quint16>> SplitTarget(const QString& target) {
    const qsizetype colon = target.lastIndexOf(QLatin1Char(':'));
    if (colon < 0)
        return std::make_pair(target.trimmed(), TDialDirectory::kDefaultPort);
    bool ok = false;
    const uint port = target.mid(colon + 1).toUInt(&ok);
    if (!ok || port == 0 || port > 65535)
        return std::nullopt;
    return std::make_pair(target.left(colon).trimmed(), static_cast<quint16>(port));
}

} // namespace

TDialDirectory::TDialDirectory(QString device) : device_(std::move(device)) {}

QString TDialDirectory::KeyPath() const {
    return QString::fromLatin1(util::kSettingsKeyPath) + QStringLiteral("\\Leitungen\\") + device_;
}

void TDialDirectory::Load() {
    entries_.clear();
    util::TRegKey key(platform::HKEY_LOCAL_MACHINE, Ansi(KeyPath()), true);
    if (key.LastResult() != 0)
        return;
    const std::int32_t count = std::clamp(key.ReadInteger("Anzahl", 0), 0, kMaxEntries);
    for (std::int32_t i = 1; i <= count; ++i) {
        const QString number =
            FromAnsi(key.ReadString("Nummer" + std::to_string(i), "", kMaxValue));
        const auto target =
            SplitTarget(FromAnsi(key.ReadString("Ziel" + std::to_string(i), "", kMaxValue)));
        if (!number.isEmpty() && target && !target->first.isEmpty())
            entries_.push_back({number, target->first, target->second});
    }
}

bool TDialDirectory::Stored() const {
    return util::TRegKey(platform::HKEY_LOCAL_MACHINE, Ansi(KeyPath()), true).LastResult() == 0;
}

void TDialDirectory::Save() const {
    util::TRegKey key(platform::HKEY_LOCAL_MACHINE, Ansi(KeyPath()), false);
    if (key.LastResult() != 0)
        throw util::ERegKey("Fehler beim \xD6"
                            "ffnen des RegistryKeys!");
    key.WriteInteger("Anzahl", static_cast<std::int32_t>(entries_.size()));
    for (std::size_t i = 0; i < entries_.size(); ++i) {
        const std::string n = std::to_string(i + 1);
        key.WriteString("Nummer" + n, Ansi(entries_[i].number));
        key.WriteString("Ziel" + n, Ansi(entries_[i].host + QLatin1Char(':') +
                                         QString::number(entries_[i].port)));
    }
    key.Close();
}

std::optional<TDialEntry> TDialDirectory::AddressNumber(const QString& number) {
    const QStringList parts = number.trimmed().split(QLatin1Char('#'));
    if (parts.size() > 2)
        return std::nullopt;
    const QStringList octets = parts[0].split(QLatin1Char('*'));
    if (octets.size() != 4)
        return std::nullopt;
    QStringList dotted;
    for (const QString& octet : octets) {
        bool ok = false;
        const uint value = octet.toUInt(&ok);
        if (!ok || value > 255 || octet.size() > 3)
            return std::nullopt;
        dotted << QString::number(value);
    }
    quint16 port = kDefaultPort;
    if (parts.size() == 2) {
        bool ok = false;
        const uint value = parts[1].toUInt(&ok);
        if (!ok || value == 0 || value > 65535)
            return std::nullopt;
        port = static_cast<quint16>(value);
    }
    return TDialEntry{number, dotted.join(QLatin1Char('.')), port};
}

std::optional<TDialEntry> TDialDirectory::Lookup(const QString& number) const {
    const QString digits = DigitsOf(number);
    for (const TDialEntry& entry : entries_)
        if (!digits.isEmpty() && DigitsOf(entry.number) == digits)
            return entry;
    return AddressNumber(number);
}

} // namespace comms
