#include "rtl/StrUtils.h"

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

std::size_t FindNoCase(std::string_view haystack, std::string_view needle, std::size_t from) {
    if (needle.size() > haystack.size())
        return std::string_view::npos;
    for (std::size_t i = from; i + needle.size() <= haystack.size(); ++i) {
        std::size_t k = 0;
        while (k < needle.size() && UpperCaseAscii(haystack[i + k]) == UpperCaseAscii(needle[k]))
            ++k;
        if (k == needle.size())
            return i;
    }
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
