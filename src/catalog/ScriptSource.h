// The catalogue script source as records parse it: the source lines, the table of section
// keywords and the current line. Also the build's default date and progress callback.
#pragma once

#include "rtl/Component.h"
#include "rtl/DateUtils.h"

#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace catalog {

// Lines of Windows-1252 source bytes: each ends at LF with one CR before it removed; text after
// the last LF is a last line.
std::vector<std::string> SplitSourceLines(std::string_view bytes);

class ScriptSource {
public:
    // Keyword 0 and empty keywords never match.
    ScriptSource(std::vector<std::string> lines, std::vector<std::string> keywords);

    int LineCount() const { return static_cast<int>(lines_.size()); }
    // "List index out of bounds" (EListError) outside the source.
    const std::string& Lines(int index) const;
    int KeywordCount() const { return static_cast<int>(keywords_.size()); }
    const std::string& Keywords(int index) const;

    // Index of the next section header after Line, with Line moved onto it; -1 (Line unchanged)
    // when none follows. A header's first word, up to a blank or a backspace, equals a keyword
    // with ASCII letters compared without case.
    int FindNextSection();

    // The current line; -1 before the first.
    int Line = -1;

private:
    std::vector<std::string> lines_;
    std::vector<std::string> keywords_;
};

// The first "[" and the first "]" of text, when the "[" comes first: the bracket pair of a
// section header or an outline line.
bool FindBracketPair(std::string_view text, std::size_t& open, std::size_t& close);

// 02.05.96 by the program's date rule; stands in for a missing or unreadable date.
rtl::TDateTime DefaultDate();
// A header or review date: the text by the program's date rule, else DefaultDate().
rtl::TDateTime ParseDateOrDefault(const std::string& text);

// Called by the outline building with the outline record and a percentage; empty unless the
// build driver sets it. Process-wide.
using ProgressCallback = std::function<void(rtl::TComponent* sender, int percent)>;
extern ProgressCallback OnProgress;

} // namespace catalog
