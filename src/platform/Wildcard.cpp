#include "platform/Wildcard.h"

#include "rtl/StrUtils.h"

#include <cstddef>

namespace platform {

namespace {

bool SameLetter(char a, char b) {
    return rtl::UpperCaseAscii(a) == rtl::UpperCaseAscii(b);
}

// Iterative glob match: on a mismatch, backtrack to the last "*" and let it take one more char.
bool MatchesGlob(std::string_view name, std::string_view pattern) {
    std::size_t n = 0;
    std::size_t p = 0;
    std::size_t starPattern = std::string_view::npos;
    std::size_t starName = 0;
    while (n < name.size()) {
        if (p < pattern.size() && (pattern[p] == '?' || SameLetter(pattern[p], name[n]))) {
            ++n;
            ++p;
        } else if (p < pattern.size() && pattern[p] == '*') {
            starPattern = p++;
            starName = n;
        } else if (starPattern != std::string_view::npos) {
            p = starPattern + 1;
            n = ++starName;
        } else {
            return false;
        }
    }
    while (p < pattern.size() && pattern[p] == '*')
        ++p;
    return p == pattern.size();
}

} // namespace

bool MatchesWildcard(std::string_view name, std::string_view pattern) {
    if (MatchesGlob(name, pattern))
        return true;
    const bool endsInAnyExtension =
        pattern.size() >= 2 && pattern.substr(pattern.size() - 2) == ".*";
    return endsInAnyExtension && name.find('.') == std::string_view::npos &&
           MatchesGlob(name, pattern.substr(0, pattern.size() - 2));
}

} // namespace platform
