#include "platform/RegistryHive.h"

#include "platform/Registry.h"
#include "rtl/LittleEndian.h"
#include "rtl/StrUtils.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <optional>
#include <utility>

namespace platform {

namespace {

using rtl::SameTextAscii;

std::string Quote(std::string_view text) {
    std::string out = "\"";
    for (char c : text) {
        if (c == '\\' || c == '"')
            out += '\\';
        out += c;
    }
    return out + '"';
}

std::string HexBytes(std::string_view data) {
    std::string out;
    char byte[4];
    for (std::size_t i = 0; i < data.size(); ++i) {
        std::snprintf(byte, sizeof byte, "%02x", static_cast<unsigned char>(data[i]));
        out += (i == 0 ? "" : ",") + std::string(byte);
    }
    return out;
}

std::string FormatData(const RegistryValue& value) {
    const bool plainString =
        value.type == REG_SZ &&
        value.data.find_first_of(std::string("\0\r\n", 3)) == std::string::npos;
    if (plainString)
        return Quote(value.data);
    if (value.type == REG_DWORD && value.data.size() == 4) {
        const std::uint32_t number =
            rtl::LoadU32(reinterpret_cast<const std::uint8_t*>(value.data.data()));
        char text[16];
        std::snprintf(text, sizeof text, "%08x", number);
        return std::string("dword:") + text;
    }
    if (value.type == REG_BINARY)
        return "hex:" + HexBytes(value.data);
    return "hex(" + std::to_string(value.type) + "):" + HexBytes(value.data);
}

// Reads a quoted text at the start of text, undoing the escapes; moves text past it.
std::optional<std::string> TakeQuoted(std::string_view& text) {
    if (text.empty() || text.front() != '"')
        return std::nullopt;
    std::string out;
    for (std::size_t i = 1; i < text.size(); ++i) {
        if (text[i] == '"') {
            text.remove_prefix(i + 1);
            return out;
        }
        if (text[i] == '\\' && i + 1 < text.size())
            ++i;
        out += text[i];
    }
    return std::nullopt;
}

std::optional<std::uint32_t> ParseHexNumber(std::string_view digits, std::size_t maxDigits) {
    if (digits.empty() || digits.size() > maxDigits)
        return std::nullopt;
    std::uint32_t number = 0;
    for (char c : digits) {
        const char lower = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        if (lower >= '0' && lower <= '9')
            number = number * 16 + static_cast<std::uint32_t>(lower - '0');
        else if (lower >= 'a' && lower <= 'f')
            number = number * 16 + static_cast<std::uint32_t>(lower - 'a' + 10);
        else
            return std::nullopt;
    }
    return number;
}

std::optional<std::string> ParseHexBytes(std::string_view list) {
    std::string out;
    while (!list.empty()) {
        const std::size_t comma = list.find(',');
        const auto byte = ParseHexNumber(rtl::TrimWhiteSpace(list.substr(0, comma)), 2);
        if (!byte)
            return std::nullopt;
        out += static_cast<char>(*byte);
        list = comma == std::string_view::npos ? std::string_view() : list.substr(comma + 1);
    }
    return out;
}

std::optional<RegistryValue> ParseData(std::string_view data) {
    RegistryValue value;
    if (!data.empty() && data.front() == '"') {
        auto text = TakeQuoted(data);
        if (!text)
            return std::nullopt;
        value.type = REG_SZ;
        value.data = std::move(*text);
        return value;
    }
    if (data.starts_with("dword:")) {
        const auto number = ParseHexNumber(data.substr(6), 8);
        if (!number)
            return std::nullopt;
        value.type = REG_DWORD;
        std::uint8_t bytes[4];
        rtl::StoreU32(bytes, *number);
        value.data.assign(reinterpret_cast<const char*>(bytes), sizeof bytes);
        return value;
    }
    std::optional<std::uint32_t> type;
    std::size_t colon = data.find(':');
    if (data.starts_with("hex:"))
        type = REG_BINARY;
    else if (data.starts_with("hex(") && colon != std::string_view::npos && colon >= 6 &&
             data[colon - 1] == ')')
        type = ParseHexNumber(data.substr(4, colon - 5), 8);
    if (!type || colon == std::string_view::npos)
        return std::nullopt;
    auto bytes = ParseHexBytes(data.substr(colon + 1));
    if (!bytes)
        return std::nullopt;
    value.type = *type;
    value.data = std::move(*bytes);
    return value;
}

std::optional<RegistryValue> ParseValueLine(std::string_view line) {
    std::string name;
    if (line.starts_with("@")) {
        line.remove_prefix(1);
    } else {
        auto quoted = TakeQuoted(line);
        if (!quoted)
            return std::nullopt;
        name = std::move(*quoted);
    }
    if (line.empty() || line.front() != '=')
        return std::nullopt;
    auto value = ParseData(line.substr(1));
    if (value)
        value->name = std::move(name);
    return value;
}

// The text lines, CR removed, hex lines continued by a trailing "\" joined.
std::vector<std::string> LogicalLines(std::string_view text) {
    std::vector<std::string> lines;
    bool continued = false;
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find('\n', start);
        if (end == std::string_view::npos)
            end = text.size();
        std::string_view line = text.substr(start, end - start);
        start = end + 1;
        if (!line.empty() && line.back() == '\r')
            line.remove_suffix(1);
        if (continued) {
            while (!line.empty() && (line.front() == ' ' || line.front() == '\t'))
                line.remove_prefix(1);
            lines.back() += line;
        } else {
            lines.emplace_back(line);
        }
        const std::string& last = lines.back();
        continued =
            last.size() > 1 && last.back() == '\\' && last.find("=hex") != std::string::npos;
        if (continued)
            lines.back().pop_back();
    }
    return lines;
}

} // namespace

std::string NormalKeyPath(std::string_view path) {
    std::string out;
    std::string part;
    for (std::size_t i = 0; i <= path.size(); ++i) {
        if (i == path.size() || path[i] == '\\') {
            if (!part.empty())
                out += (out.empty() ? "" : "\\") + part;
            part.clear();
        } else {
            part += path[i];
        }
    }
    return out;
}

std::string JoinKeyPath(std::string_view parent, std::string_view child) {
    return NormalKeyPath(std::string(parent) + "\\" + std::string(child));
}

RegistryHive RegistryHive::Parse(std::string_view text, std::string_view rootName) {
    RegistryHive hive;
    Key* section = nullptr;
    for (const std::string& line : LogicalLines(text)) {
        if (line.starts_with("[")) {
            section = nullptr;
            const std::size_t close = line.rfind(']');
            if (close == std::string::npos)
                continue;
            const std::string_view full = std::string_view(line).substr(1, close - 1);
            const std::string_view root = full.substr(0, full.find('\\'));
            if (!SameTextAscii(root, rootName))
                continue;
            const std::string path = NormalKeyPath(full.substr(root.size()));
            hive.CreateKey(path);
            section = hive.FindKey(path);
        } else if (section != nullptr) {
            if (auto value = ParseValueLine(line))
                hive.SetValue(section->path, std::move(*value));
        }
    }
    hive.modified_ = false;
    return hive;
}

std::string RegistryHive::Format(std::string_view rootName) const {
    std::string text = "REGEDIT4\n";
    for (const Key& key : keys_) {
        if (key.path.empty() && key.values.empty())
            continue;
        text += "\n[" + std::string(rootName) + (key.path.empty() ? "" : "\\") + key.path + "]\n";
        for (const RegistryValue& value : key.values)
            text += (value.name.empty() ? "@" : Quote(value.name)) + "=" + FormatData(value) + "\n";
    }
    return text;
}

const RegistryHive::Key* RegistryHive::FindKey(std::string_view path) const {
    const auto it = std::find_if(keys_.begin(), keys_.end(),
                                 [&](const Key& key) { return SameTextAscii(key.path, path); });
    return it == keys_.end() ? nullptr : &*it;
}

RegistryHive::Key* RegistryHive::FindKey(std::string_view path) {
    return const_cast<Key*>(std::as_const(*this).FindKey(path));
}

bool RegistryHive::HasKey(std::string_view path) const {
    return path.empty() || FindKey(path) != nullptr;
}

bool RegistryHive::HasSubKeys(std::string_view path) const {
    return std::any_of(keys_.begin(), keys_.end(), [&](const Key& key) {
        if (path.empty())
            return !key.path.empty();
        return key.path.size() > path.size() && key.path[path.size()] == '\\' &&
               SameTextAscii(std::string_view(key.path).substr(0, path.size()), path);
    });
}

void RegistryHive::CreateKey(std::string_view path) {
    const std::string normal = NormalKeyPath(path);
    std::size_t end = 0;
    while (end != std::string::npos) {
        end = normal.find('\\', end + 1);
        const std::string ancestor = normal.substr(0, end);
        if (!FindKey(ancestor)) {
            keys_.push_back({ancestor, {}});
            modified_ = true;
        }
    }
}

void RegistryHive::DeleteKey(std::string_view path) {
    const auto removed =
        std::erase_if(keys_, [&](const Key& key) { return SameTextAscii(key.path, path); });
    modified_ = modified_ || removed > 0;
}

const RegistryValue* RegistryHive::FindValue(std::string_view path, std::string_view name) const {
    const Key* key = FindKey(path);
    if (key == nullptr)
        return nullptr;
    const auto it =
        std::find_if(key->values.begin(), key->values.end(),
                     [&](const RegistryValue& value) { return SameTextAscii(value.name, name); });
    return it == key->values.end() ? nullptr : &*it;
}

void RegistryHive::SetValue(std::string_view path, RegistryValue value) {
    Key* key = FindKey(path);
    if (key == nullptr)
        return;
    const auto it =
        std::find_if(key->values.begin(), key->values.end(),
                     [&](const RegistryValue& v) { return SameTextAscii(v.name, value.name); });
    if (it == key->values.end()) {
        key->values.push_back(std::move(value));
    } else {
        it->type = value.type;
        it->data = std::move(value.data);
    }
    modified_ = true;
}

} // namespace platform
