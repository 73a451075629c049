#include "rtl/Persistent.h"

#include "rtl/Exceptions.h"

#include <limits>

namespace rtl {

namespace {

std::string FullName(const std::string& prefix, const std::string& name) {
    return prefix.empty() ? name : prefix + "." + name;
}

class TPropertyWriter final : public TFiler {
public:
    TPropertyWriter(TWriter& writer, std::string prefix)
        : writer_(writer), prefix_(std::move(prefix)) {}

    void DefineProperty(const std::string& name, const ReadProc&, const WriteProc& writeData,
                        bool hasData) override {
        if (!hasData)
            return;
        const std::string fullName = FullName(prefix_, name);
        if (fullName.size() > std::numeric_limits<std::uint8_t>::max())
            throw EWriteError();
        writer_.WriteByte(static_cast<std::uint8_t>(fullName.size()));
        writer_.Write(fullName.data(), static_cast<std::int64_t>(fullName.size()));
        writeData(writer_);
    }

private:
    TWriter& writer_;
    std::string prefix_;
};

class TPropertyReader final : public TFiler {
public:
    TPropertyReader(TReader& reader, std::string prefix, std::string wanted)
        : reader_(reader), prefix_(std::move(prefix)), wanted_(std::move(wanted)) {}

    void DefineProperty(const std::string& name, const ReadProc& readData, const WriteProc&,
                        bool) override {
        if (found_ || FullName(prefix_, name) != wanted_)
            return;
        found_ = true;
        readData(reader_);
    }

    bool Found() const { return found_; }

private:
    TReader& reader_;
    std::string prefix_;
    std::string wanted_;
    bool found_ = false;
};

} // namespace

void TPersistent::DefineProperties(TFiler&) {}

void WriteDefinedProperties(TWriter& writer, TPersistent& object, const std::string& prefix) {
    TPropertyWriter filer(writer, prefix);
    object.DefineProperties(filer);
}

bool ReadDefinedProperty(TReader& reader, TPersistent& object, const std::string& prefix) {
    std::string name(reader.ReadByte(), '\0');
    reader.Read(name.data(), static_cast<std::int64_t>(name.size()));
    TPropertyReader filer(reader, prefix, std::move(name));
    object.DefineProperties(filer);
    return filer.Found();
}

} // namespace rtl
