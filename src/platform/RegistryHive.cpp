#include "platform/RegistryHive.h"

#include "platform/Registry.h"
#include "rtl/LittleEndian.h"
#include "rtl/StrUtils.h"

#include <algorithm>
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
    char type[16];
    std::snprintf(type, sizeof type, "%x", value.type);
    return "hex(" + std::string(type) + "):" + HexBytes(value.data);
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
        const int digit = rtl::HexDigitValue(c);
        if (digit < 0)
            return std::nullopt;
        number = number * 16 + static_cast<std::uint32_t>(digit);
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

std::string ValueLine(const RegistryValue& value) {
    return (value.name.empty() ? "@" : Quote(value.name)) + "=" + FormatData(value) + "\n";
}

// line without its LF, CR LF or CR at the end.
std::string_view WithoutLineEnd(std::string_view line) {
    if (line.ends_with('\n'))
        line.remove_suffix(1);
    if (line.ends_with('\r'))
        line.remove_suffix(1);
    return line;
}

// Whether line (without its line end) is a hex value's line that goes on in the next line.
bool ContinuesHexValue(std::string_view line) {
    return line.size() > 1 && line.back() == '\\' && line.find("=hex") != std::string_view::npos;
}

// The text as logical lines: each with its physical lines as written (line ends included) and
// its content without CR, hex lines continued by a trailing "\" joined.
struct TextLine {
    std::string raw;
    std::string content;
};

std::vector<TextLine> LogicalLines(std::string_view text) {
    std::vector<TextLine> lines;
    bool continued = false;
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find('\n', start);
        end = end == std::string_view::npos ? text.size() : end + 1;
        const std::string_view raw = text.substr(start, end - start);
        std::string_view line = WithoutLineEnd(raw);
        start = end;
        if (continued) {
            while (!line.empty() && (line.front() == ' ' || line.front() == '\t'))
                line.remove_prefix(1);
            lines.back().raw += raw;
            lines.back().content += line;
        } else {
            lines.push_back({std::string(raw), std::string(line)});
        }
        std::string& last = lines.back().content;
        continued = ContinuesHexValue(last);
        if (continued)
            last.pop_back();
    }
    return lines;
}

// Ends a line's text so that a line written after it starts a line of its own: with a line end,
// and with an empty line after a hex value whose last line ends in a continuing backslash (a
// hand-edited or cut-off file), which would otherwise take the next line into the value.
void EndLine(std::string& raw) {
    if (!raw.ends_with('\n'))
        raw += '\n';
    if (ContinuesHexValue(WithoutLineEnd(raw)))
        raw += '\n';
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
    hive.rootName_ = rootName;
    const Line* section = nullptr;
    const std::vector<TextLine> textLines = LogicalLines(text);
    hive.lines_.reserve(textLines.size());
    for (const TextLine& logical : textLines) {
        Line line{logical.raw, Line::Kind::Other, false, {}, {}};
        const std::string& content = logical.content;
        if (content.starts_with("[")) {
            const std::size_t close = content.rfind(']');
            line.kind = Line::Kind::Section;
            if (close != std::string::npos) {
                const std::string_view full = std::string_view(content).substr(1, close - 1);
                const std::string_view root = full.substr(0, full.find('\\'));
                line.ours = SameTextAscii(root, rootName);
                line.path = NormalKeyPath(full.substr(root.size()));
            }
        } else if (section != nullptr && section->ours) {
            if (auto value = ParseValueLine(content)) {
                line.kind = Line::Kind::Value;
                line.ours = true;
                line.path = section->path;
                line.value = std::move(*value);
            }
        }
        hive.lines_.push_back(std::move(line));
        if (hive.lines_.back().kind == Line::Kind::Section)
            section = &hive.lines_.back();
    }
    return hive;
}

std::string RegistryHive::Format() const {
    std::string text;
    for (const Line& line : lines_)
        text += line.raw;
    return text;
}

std::size_t RegistryHive::FindSection(std::string_view path) const {
    for (std::size_t i = 0; i < lines_.size(); ++i)
        if (lines_[i].kind == Line::Kind::Section && lines_[i].ours &&
            SameTextAscii(lines_[i].path, path))
            return i;
    return lines_.size();
}

std::size_t RegistryHive::ValueInsertPoint(std::size_t section) const {
    std::size_t end = section + 1;
    for (std::size_t i = end; i < lines_.size() && lines_[i].kind != Line::Kind::Section; ++i)
        if (lines_[i].kind == Line::Kind::Value)
            end = i + 1;
    return end;
}

std::size_t RegistryHive::FindValueLine(std::string_view path, std::string_view name) const {
    for (std::size_t i = 0; i < lines_.size(); ++i)
        if (lines_[i].kind == Line::Kind::Value && SameTextAscii(lines_[i].path, path) &&
            SameTextAscii(lines_[i].value.name, name))
            return i;
    return lines_.size();
}

void RegistryHive::AppendSection(const std::string& path) {
    if (lines_.empty())
        lines_.push_back({"REGEDIT4\n", Line::Kind::Other, false, {}, {}});
    else
        EndLine(lines_.back().raw);
    lines_.push_back({"\n", Line::Kind::Other, false, {}, {}});
    lines_.push_back({"[" + rootName_ + (path.empty() ? "" : "\\") + path + "]\n",
                      Line::Kind::Section,
                      true,
                      path,
                      {}});
    modified_ = true;
}

bool RegistryHive::HasKey(std::string_view path) const {
    return path.empty() || FindSection(path) != lines_.size();
}

bool RegistryHive::HasSubKeys(std::string_view path) const {
    return std::any_of(lines_.begin(), lines_.end(), [&](const Line& line) {
        if (line.kind != Line::Kind::Section || !line.ours)
            return false;
        if (path.empty())
            return !line.path.empty();
        return line.path.size() > path.size() && line.path[path.size()] == '\\' &&
               SameTextAscii(std::string_view(line.path).substr(0, path.size()), path);
    });
}

void RegistryHive::CreateKey(std::string_view path) {
    const std::string normal = NormalKeyPath(path);
    if (normal.empty())
        return;
    std::size_t end = 0;
    while (end != std::string::npos) {
        end = normal.find('\\', end + 1);
        const std::string ancestor = normal.substr(0, end);
        if (!HasKey(ancestor))
            AppendSection(ancestor);
    }
}

void RegistryHive::DeleteKey(std::string_view path) {
    const std::size_t section = FindSection(path);
    if (section == lines_.size())
        return;
    std::size_t end = section + 1;
    while (end < lines_.size() && lines_[end].kind != Line::Kind::Section)
        ++end;
    lines_.erase(lines_.begin() + static_cast<std::ptrdiff_t>(section),
                 lines_.begin() + static_cast<std::ptrdiff_t>(end));
    modified_ = true;
}

const RegistryValue* RegistryHive::FindValue(std::string_view path, std::string_view name) const {
    const std::size_t at = FindValueLine(path, name);
    return at == lines_.size() ? nullptr : &lines_[at].value;
}

void RegistryHive::SetValue(std::string_view path, RegistryValue value) {
    if (path.empty() && FindSection(path) == lines_.size())
        AppendSection({});
    const std::size_t at = FindValueLine(path, value.name);
    if (at != lines_.size()) {
        Line& line = lines_[at];
        line.value.type = value.type;
        line.value.data = std::move(value.data);
        line.raw = ValueLine(line.value);
        modified_ = true;
        return;
    }
    const std::size_t section = FindSection(path);
    if (section == lines_.size())
        return;
    const std::size_t insert = ValueInsertPoint(section);
    EndLine(lines_[insert - 1].raw);
    Line line{ValueLine(value), Line::Kind::Value, true, lines_[section].path, std::move(value)};
    lines_.insert(lines_.begin() + static_cast<std::ptrdiff_t>(insert), std::move(line));
    modified_ = true;
}

} // namespace platform
