#include "catalog/ScriptSource.h"

#include "rtl/Exceptions.h"
#include "rtl/StrUtils.h"

namespace catalog {

ProgressCallback OnProgress;

std::vector<std::string> SplitSourceLines(std::string_view bytes) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    for (std::size_t lf = bytes.find('\n'); lf != std::string_view::npos;
         lf = bytes.find('\n', start)) {
        std::size_t end = lf;
        if (end > start && bytes[end - 1] == '\r')
            --end;
        lines.emplace_back(bytes.substr(start, end - start));
        start = lf + 1;
    }
    if (start < bytes.size())
        lines.emplace_back(bytes.substr(start));
    return lines;
}

ScriptSource::ScriptSource(std::vector<std::string> lines, std::vector<std::string> keywords)
    : lines_(std::move(lines)), keywords_(std::move(keywords)) {
    for (std::string& keyword : keywords_)
        keyword = rtl::UpperCaseAscii(keyword);
}

const std::string& ScriptSource::Lines(int index) const {
    if (index < 0 || index >= LineCount())
        throw rtl::EListError();
    return lines_[static_cast<std::size_t>(index)];
}

const std::string& ScriptSource::Keywords(int index) const {
    if (index < 0 || index >= KeywordCount())
        throw rtl::EListError();
    return keywords_[static_cast<std::size_t>(index)];
}

int ScriptSource::FindNextSection() {
    for (int i = Line + 1; i < LineCount(); ++i) {
        const std::string& text = lines_[static_cast<std::size_t>(i)];
        const std::string word = rtl::UpperCaseAscii(text.substr(0, text.find_first_of(" \b")));
        for (int j = 1; j < KeywordCount(); ++j) {
            if (!keywords_[static_cast<std::size_t>(j)].empty() &&
                keywords_[static_cast<std::size_t>(j)] == word) {
                Line = i;
                return j;
            }
        }
    }
    return -1;
}

bool FindBracketPair(std::string_view text, std::size_t& open, std::size_t& close) {
    open = text.find('[');
    close = text.find(']');
    return open != std::string_view::npos && close != std::string_view::npos && open < close;
}

rtl::TDateTime DefaultDate() {
    static const rtl::TDateTime date = rtl::StrToDate("02.05.96");
    return date;
}

rtl::TDateTime ParseDateOrDefault(const std::string& text) {
    rtl::TDateTime date = 0;
    return rtl::TryStrToDate(text, rtl::CurrentYear(), date) ? date : DefaultDate();
}

} // namespace catalog
