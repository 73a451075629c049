#include "search/matching/SearchTerms.h"

#include "rtl/StrUtils.h"

namespace search {

std::vector<SearchTerm> SplitTerms(std::string_view searchText, bool caseSensitive) {
    std::string rest = caseSensitive ? std::string(searchText) : rtl::UpperCaseAscii(searchText);
    std::vector<SearchTerm> terms;
    for (;;) {
        const std::size_t andAt = rest.find(" + ");
        const std::size_t orAt = rest.find(" - ");
        const std::size_t at = std::min(andAt, orAt);
        if (at == std::string::npos)
            break;
        terms.push_back({rest.substr(0, at), at == andAt ? TermOperator::And : TermOperator::Or});
        rest.erase(0, at + 3);
    }
    terms.push_back({rest, TermOperator::And});
    return terms;
}

namespace {

bool Occurs(const rtl::TStringList& lines, const std::string& term) {
    if (term.empty())
        return false;
    for (const auto& line : lines)
        if (line.text.find(term) != std::string::npos)
            return true;
    return false;
}

} // namespace

bool MatchText(rtl::TStringList& lines, const std::vector<SearchTerm>& terms, bool caseSensitive) {
    if (lines.Empty() || terms.empty())
        return false;
    if (!caseSensitive)
        for (int i = 0; i < lines.Count(); ++i)
            lines.SetString(i, rtl::UpperCaseAscii(lines.Strings(i)));
    bool found = Occurs(lines, terms.front().text);
    for (std::size_t t = 1; t < terms.size(); ++t) {
        const bool here = Occurs(lines, terms[t].text);
        found = terms[t - 1].joinsNext == TermOperator::And ? found && here : found || here;
    }
    return found;
}

std::string HitName(bool isShortText, const rtl::TStringList& lines, const std::string& entryName) {
    if (isShortText && !lines.Empty() &&
        rtl::UpperCaseAscii(lines.Strings(0)).find(".ZIP") != std::string::npos)
        return lines.Strings(0);
    return entryName;
}

} // namespace search
