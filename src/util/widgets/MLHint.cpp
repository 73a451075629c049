#include "util/widgets/MLHint.h"

namespace util {

TMLHint::TMLHint(QObject* owner) : QObject(owner), oldShowHint_(ApplicationOnShowHint()) {
    SetApplicationOnShowHint([this](QString& hintStr, bool& canShow, THintInfo& hintInfo) {
        DoShowHint(hintStr, canShow, hintInfo);
    });
}

TMLHint::~TMLHint() {
    SetApplicationOnShowHint(std::move(oldShowHint_));
}

// A tooltip breaks its lines at "\n" (a carriage return alone does not break a line here).
void TMLHint::DoShowHint(QString& hintStr, bool&, THintInfo&) const {
    if (Active)
        hintStr.replace(Separator, u'\n');
}

} // namespace util
