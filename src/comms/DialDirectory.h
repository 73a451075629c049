// The dialling directory of a network line device: which host and port a telephone number
// stands for. It is kept in the settings hive in the key "Leitungen" + the device name below
// the program's key: "Anzahl" entries, each as "Nummer<i>" and "Ziel<i>" ("host:port").
// A number of the form a*b*c*d or a*b*c*d#port is the IPv4 address itself.
#pragma once

#include <QString>
#include <optional>
#include <vector>

namespace comms {

struct TDialEntry {
    QString number;
    QString host;
    quint16 port = 23;

    bool operator==(const TDialEntry&) const = default;
};

class TDialDirectory {
public:
    static constexpr quint16 kDefaultPort = 23;

    explicit TDialDirectory(QString device);

    const QString& Device() const { return device_; }
    const std::vector<TDialEntry>& Entries() const { return entries_; }
    void SetEntries(std::vector<TDialEntry> entries) { entries_ = std::move(entries); }

    // Reads the stored entries (none when there are none); ERegKey on a damaged value.
    void Load();
    // Whether the device has a directory stored at all (possibly an empty one).
    bool Stored() const;
    // Replaces the stored entries; ERegKey when they cannot be written.
    void Save() const;

    // The entry for a number: from the directory (digits compared, other characters ignored),
    // else the address form; nullopt when neither.
    std::optional<TDialEntry> Lookup(const QString& number) const;
    // The address form alone.
    static std::optional<TDialEntry> AddressNumber(const QString& number);

private:
    QString KeyPath() const;

    QString device_;
    std::vector<TDialEntry> entries_;
};

} // namespace comms
