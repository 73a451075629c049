// TKVTextView: a read-only rich-text view for the catalogue's info texts and the component
// summary. Lines with the font-tag markup ("<F0>", "<F1>", "<F2>") become RTF, which the view's
// own RTF reader turns into the document; it also prints and copies its text.
#pragma once

#include "catalog/IntList.h"
#include "rtl/StringList.h"

#include <QTextEdit>
#include <string>

class QPrinter;

namespace catalog {
class TBrowzerContainer;
}

namespace browser {

class TKVTextView : public QTextEdit {
    Q_OBJECT

public:
    explicit TKVTextView(QWidget* parent = nullptr);

    // Loads the info text of tree-data entry index and shows the view. False, with the view
    // unchanged, when the entry holds no info text (also for an index outside the tree). Read
    // errors propagate and leave the view as it was.
    bool ShowText(catalog::TBrowzerContainer& container, int index);
    // Empty lines: empty view. A first line containing "{\rtf" (any case): the lines are RTF
    // already. Otherwise each line is converted; a tag font outside the lists is EListError
    // and leaves the view as it was.
    void SetMarkupLines(const rtl::TStringList& lines);
    // "\sbys " + the line with backslashes doubled, each font tag replaced by its font words,
    // + " \par". EListError for a tag whose digit is not a markup font of the lists.
    std::string MarkupLineToRtf(const std::string& line) const;
    // The selection, or (nothing selected) the whole text with the RTF it was loaded from; the
    // whole-text copy leaves the cursor at the start with nothing selected.
    void CopyText();
    // Prints the whole text on printer under the job title "Kestrova Pandex CD-ROM".
    virtual void PrintText(QPrinter& printer);
    virtual void Clear();

    // The RTF text the view last loaded (lines joined with CR LF); empty when cleared.
    const std::string& LastRtf() const { return lastRtf_; }

    // RTF font size in half points, and bold (non-zero), of markup fonts 0, 1, 2.
    catalog::TIntList FontSizes;
    catalog::TIntList FontBold;
    // No platform here needs the old rich edit control's resize repair.
    bool IsNT351 = false;
    std::string RtfHeader;
    std::string RtfTrailer;

private:
    std::string RtfOfLines(const rtl::TStringList& lines) const;
    void LoadRtf(std::string rtf);

    std::string lastRtf_;
};

} // namespace browser
