#include "rtl/StrUtils.h"

#include <cctype>

namespace rtl {

char UpperCaseAscii(char c) {
    return c >= 'a' && c <= 'z' ? static_cast<char>(c - 32) : c;
}

std::string UpperCaseAscii(std::string_view text) {
    std::string result(text);
    for (char& c : result)
        c = UpperCaseAscii(c);
    return result;
}

char LowerCaseAscii(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c;
}

std::string LowerCaseAscii(std::string_view text) {
    std::string result(text);
    for (char& c : result)
        c = LowerCaseAscii(c);
    return result;
}

bool SameTextAscii(std::string_view a, std::string_view b) {
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (UpperCaseAscii(a[i]) != UpperCaseAscii(b[i]))
            return false;
    return true;
}

std::string TrimBlanks(std::string_view text) {
    auto isBlank = [](char c) { return c == ' '; };
    std::size_t first = 0;
    std::size_t last = text.size();
    while (first < last && isBlank(text[first]))
        ++first;
    while (last > first && isBlank(text[last - 1]))
        --last;
    return std::string(text.substr(first, last - first));
}

std::string_view TrimWhiteSpace(std::string_view text) {
    const auto isSpace = [](char c) { return std::isspace(static_cast<unsigned char>(c)) != 0; };
    while (!text.empty() && isSpace(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && isSpace(text.back()))
        text.remove_suffix(1);
    return text;
}

int HexDigitValue(char c) {
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

std::size_t FindNoCase(std::string_view haystack, std::string_view needle, std::size_t from) {
    if (needle.empty())
        return from <= haystack.size() ? from : std::string_view::npos;
    if (needle.size() > haystack.size())
        return std::string_view::npos;
    // Looks for the needle's first character in either case before it compares the rest.
    const char upper = UpperCaseAscii(needle.front());
    const char lower = LowerCaseAscii(needle.front());
    const std::string_view rest = needle.substr(1);
    for (std::size_t i = from; i + needle.size() <= haystack.size(); ++i)
        if ((haystack[i] == upper || haystack[i] == lower) &&
            SameTextAscii(haystack.substr(i + 1, rest.size()), rest))
            return i;
    return std::string_view::npos;
}

bool TryStrToInt(std::string_view text, long long& value) {
    std::size_t i = 0;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-'))
        negative = text[i++] == '-';
    if (i == text.size())
        return false;
    unsigned long long magnitude = 0;
    for (; i < text.size(); ++i) {
        if (text[i] < '0' || text[i] > '9')
            return false;
        magnitude = magnitude * 10 + static_cast<unsigned>(text[i] - '0');
        if (magnitude > (1ULL << 62))
            return false;
    }
    value = negative ? -static_cast<long long>(magnitude) : static_cast<long long>(magnitude);
    return true;
}

} // namespace rtl
