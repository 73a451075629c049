#include "platform/CodePage.h"

#include <array>
#include <cstdint>

namespace platform {

namespace {

// Windows-1252 bytes 0x80-0x9F.
constexpr std::array<char32_t, 32> kAnsiHigh1252 = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

// Code page 437 bytes 0x80-0xFF.
constexpr std::array<char32_t, 128> kOemHigh437 = {
    0x00C7, 0x00FC, 0x00E9, 0x00E2, 0x00E4, 0x00E0, 0x00E5, 0x00E7, 0x00EA, 0x00EB, 0x00E8, 0x00EF,
    0x00EE, 0x00EC, 0x00C4, 0x00C5, 0x00C9, 0x00E6, 0x00C6, 0x00F4, 0x00F6, 0x00F2, 0x00FB, 0x00F9,
    0x00FF, 0x00D6, 0x00DC, 0x00A2, 0x00A3, 0x00A5, 0x20A7, 0x0192, 0x00E1, 0x00ED, 0x00F3, 0x00FA,
    0x00F1, 0x00D1, 0x00AA, 0x00BA, 0x00BF, 0x2310, 0x00AC, 0x00BD, 0x00BC, 0x00A1, 0x00AB, 0x00BB,
    0x2591, 0x2592, 0x2593, 0x2502, 0x2524, 0x2561, 0x2562, 0x2556, 0x2555, 0x2563, 0x2551, 0x2557,
    0x255D, 0x255C, 0x255B, 0x2510, 0x2514, 0x2534, 0x252C, 0x251C, 0x2500, 0x253C, 0x255E, 0x255F,
    0x255A, 0x2554, 0x2569, 0x2566, 0x2560, 0x2550, 0x256C, 0x2567, 0x2568, 0x2564, 0x2565, 0x2559,
    0x2558, 0x2552, 0x2553, 0x256B, 0x256A, 0x2518, 0x250C, 0x2588, 0x2584, 0x258C, 0x2590, 0x2580,
    0x03B1, 0x00DF, 0x0393, 0x03C0, 0x03A3, 0x03C3, 0x00B5, 0x03C4, 0x03A6, 0x0398, 0x03A9, 0x03B4,
    0x221E, 0x03C6, 0x03B5, 0x2229, 0x2261, 0x00B1, 0x2265, 0x2264, 0x2320, 0x2321, 0x00F7, 0x2248,
    0x00B0, 0x2219, 0x00B7, 0x221A, 0x207F, 0x00B2, 0x25A0, 0x00A0};

} // namespace

void AppendUtf8(std::string& out, char32_t c) {
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (c >> 18));
        out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

namespace {

char32_t Ansi1252ToCodePoint(std::uint8_t byte) {
    return byte >= 0x80 && byte < 0xA0 ? kAnsiHigh1252[byte - 0x80] : byte;
}

std::optional<char> CodePointToAnsi1252(char32_t c) {
    if (c < 0x80 || (c >= 0xA0 && c <= 0xFF))
        return static_cast<char>(c);
    for (std::size_t i = 0; i < kAnsiHigh1252.size(); ++i)
        if (kAnsiHigh1252[i] == c)
            return static_cast<char>(0x80 + i);
    return std::nullopt;
}

// Decodes one well-formed UTF-8 sequence at text[pos] and advances pos; on a malformed sequence
// pos moves by one byte and nullopt is returned.
std::optional<char32_t> DecodeUtf8(std::string_view text, std::size_t& pos) {
    const auto lead = static_cast<std::uint8_t>(text[pos]);
    std::size_t length = 0;
    char32_t c = 0;
    char32_t smallest = 0;
    if (lead < 0x80) {
        ++pos;
        return lead;
    } else if ((lead & 0xE0) == 0xC0) {
        length = 2, c = lead & 0x1F, smallest = 0x80;
    } else if ((lead & 0xF0) == 0xE0) {
        length = 3, c = lead & 0x0F, smallest = 0x800;
    } else if ((lead & 0xF8) == 0xF0) {
        length = 4, c = lead & 0x07, smallest = 0x10000;
    } else {
        ++pos;
        return std::nullopt;
    }
    if (text.size() - pos < length) {
        ++pos;
        return std::nullopt;
    }
    for (std::size_t i = 1; i < length; ++i) {
        const auto next = static_cast<std::uint8_t>(text[pos + i]);
        if ((next & 0xC0) != 0x80) {
            ++pos;
            return std::nullopt;
        }
        c = (c << 6) | (next & 0x3F);
    }
    if (c < smallest || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) {
        ++pos;
        return std::nullopt;
    }
    pos += length;
    return c;
}

// Converts utf8 to Windows-1252; each character without a byte becomes replacement, or the
// whole conversion fails when replacement is nullopt.
std::optional<std::string> EncodeAnsi1252(std::string_view utf8, std::optional<char> replacement) {
    std::string out;
    std::size_t pos = 0;
    while (pos < utf8.size()) {
        const std::optional<char32_t> c = DecodeUtf8(utf8, pos);
        const std::optional<char> byte = c ? CodePointToAnsi1252(*c) : std::nullopt;
        if (byte)
            out += *byte;
        else if (replacement)
            out += *replacement;
        else
            return std::nullopt;
    }
    return out;
}

} // namespace

std::string Ansi1252ToUtf8(std::string_view ansi) {
    std::string out;
    for (char byte : ansi)
        AppendUtf8(out, Ansi1252ToCodePoint(static_cast<std::uint8_t>(byte)));
    return out;
}

std::optional<std::string> Utf8ToAnsi1252(std::string_view utf8) {
    return EncodeAnsi1252(utf8, std::nullopt);
}

std::string Utf8ToAnsi1252Lossy(std::string_view utf8) {
    return *EncodeAnsi1252(utf8, '?');
}

std::string Oem437ToUtf8(std::string_view oem) {
    std::string out;
    for (char byte : oem) {
        const auto value = static_cast<std::uint8_t>(byte);
        AppendUtf8(out, value < 0x80 ? value : kOemHigh437[value - 0x80]);
    }
    return out;
}

} // namespace platform
