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

bool Occurs(const TextLines& lines, const std::string& term, bool caseSensitive) {
    if (term.empty())
        return false;
    for (const std::string_view line : lines)
        if ((caseSensitive ? line.find(term) : rtl::FindNoCase(line, term)) !=
            std::string_view::npos)
            return true;
    return false;
}

} // namespace

bool MatchLines(const TextLines& lines, const std::vector<SearchTerm>& terms, bool caseSensitive) {
    if (lines.empty() || terms.empty())
        return false;
    bool found = Occurs(lines, terms.front().text, caseSensitive);
    for (std::size_t t = 1; t < terms.size(); ++t) {
        const bool here = Occurs(lines, terms[t].text, caseSensitive);
        found = terms[t - 1].joinsNext == TermOperator::And ? found && here : found || here;
    }
    return found;
}

bool MatchText(const rtl::TStringList& lines, const std::vector<SearchTerm>& terms,
               bool caseSensitive) {
    TextLines views;
    views.reserve(static_cast<std::size_t>(lines.Count()));
    for (const auto& line : lines)
        views.push_back(line.text);
    return MatchLines(views, terms, caseSensitive);
}

std::string HitName(bool isShortText, const TextLines& lines, const std::string& entryName) {
    if (isShortText && !lines.empty() &&
        rtl::FindNoCase(lines.front(), ".ZIP") != std::string_view::npos)
        return std::string(lines.front());
    return entryName;
}

} // namespace search
