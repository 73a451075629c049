// The full-text search's rules, shared by the search thread and the command-line tool:
// splitting an expression into AND/OR terms, matching an entry's lines, and a hit's name.
#pragma once

#include "rtl/StringList.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace search {

// The operator written after a term; it joins that term to the next one.
enum class TermOperator : std::uint8_t { And = 0, Or = 1 };

struct SearchTerm {
    std::string text;
    TermOperator joinsNext = TermOperator::And; // meaningless for the last term
    bool operator==(const SearchTerm&) const = default;
};

// Operators are exactly " + " (AND) and " - " (OR); the earlier one wins. Terms keep their inner
// blanks, so "grafik komponente" is one phrase. Without case sensitivity the expression is
// upper-cased (ASCII letters only) first.
std::vector<SearchTerm> SplitTerms(std::string_view searchText, bool caseSensitive);

// An entry's searchable text as views into the record or list that holds it.
using TextLines = std::vector<std::string_view>;

// Folds the terms left to right without precedence; a term is found when it is a substring of
// one line. Without case sensitivity the lines compare as if upper-cased (ASCII letters only),
// without being copied. No lines, no match.
bool MatchLines(const TextLines& lines, const std::vector<SearchTerm>& terms, bool caseSensitive);
bool MatchText(const rtl::TStringList& lines, const std::vector<SearchTerm>& terms,
               bool caseSensitive);

// The text the result list shows: a short text whose first line holds ".ZIP" (in any case) is
// listed under that line as stored, every other hit under the entry's name.
std::string HitName(bool isShortText, const TextLines& lines, const std::string& entryName);

} // namespace search
