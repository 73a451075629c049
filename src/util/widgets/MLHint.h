// TMLHint: tooltips on several lines. While it exists it holds the application's show-hint event
// (ApplicationHints.h) and turns every Separator in a tooltip's text into a line break, for every
// tooltip of the program. It puts back the handler it found when it goes, so instances nest and
// must go in the reverse order of their creation.
#pragma once

#include "util/widgets/ApplicationHints.h"

#include <QChar>
#include <QObject>

namespace util {

class TMLHint : public QObject {
    Q_OBJECT

public:
    explicit TMLHint(QObject* owner = nullptr);
    ~TMLHint() override;

    // Off: tooltips pass unchanged.
    bool Active = true;
    QChar Separator = u'@';

    // The show-hint handler: every Separator becomes a line break.
    void DoShowHint(QString& hintStr, bool& canShow, THintInfo& hintInfo) const;

private:
    TShowHintEvent oldShowHint_;
};

} // namespace util
