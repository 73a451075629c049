#include "browser/EntryOutput.h"

#include "browser/AnsiText.h"
#include "browser/EntryDetails.h"
#include "browser/MainWindow.h"
#include "browser/TextView.h"
#include "browser/WideInfoForm.h"
#include "catalog/Records.h"
#include "util/widgets/Printing.h"

#include <QPlainTextEdit>
#include <QStackedWidget>
#include <QToolButton>

namespace browser {

namespace {

bool PageIs(const TPandexCDMain& window, const char* name) {
    return window.BrowzerNoteBook->currentWidget()->objectName().compare(QString::fromLatin1(name),
                                                                         Qt::CaseInsensitive) == 0;
}

QStringList ShortDescLines(const TPandexCDMain& window) {
    return TextLines(window.ShortDescPage->ShortMemo->toPlainText());
}

} // namespace

QStringList TextLines(const QString& text) {
    if (text.isEmpty())
        return {};
    QStringList lines = text.split(u'\n');
    if (lines.back().isEmpty())
        lines.removeLast();
    return lines;
}

QStringList ComponentText(TPandexCDMain& window) {
    window.ExpandBtnClick(false);
    const catalog::TCompoText* compo = window.CurrentCompo();
    if (compo == nullptr)
        return {};
    QStringList lines;
    lines << AnsiToQt("Komponente: " + compo->LongName + "   Version " + compo->Version)
          << QString();
    lines << TextLines(window.ComponentPage->StuffView->toPlainText());
    lines << QStringLiteral("Ausführliche Beschreibung:");
    if (const TWideInfoForm* wide = window.WideInfoForm())
        lines << TextLines(wide->LongInfoMemo->toPlainText());
    return lines;
}

void SBPrintTextClick(TPandexCDMain& window) {
    if (PageIs(window, "Infotext")) {
        if (util::PrinterReady(util::ProgramPrinter(), &window))
            window.TextView->PrintText(util::ProgramPrinter());
        return;
    }
    const QStringList lines =
        PageIs(window, "Komponente") ? ComponentText(window) : ShortDescLines(window);
    util::PrintLines(lines, util::NewFont(QStringLiteral("Arial")));
}

void SBCopyClick(TPandexCDMain& window) {
    if (PageIs(window, "Infotext")) {
        window.TextView->CopyText();
    } else if (PageIs(window, "ShortDesc")) {
        QPlainTextEdit& memo = *window.ShortDescPage->ShortMemo;
        if (memo.textCursor().hasSelection())
            memo.copy();
        else
            util::CopyLinesToClipboard(ShortDescLines(window));
    } else {
        util::CopyLinesToClipboard(ComponentText(window));
    }
}

void ConnectEntryOutput(TPandexCDMain& window) {
    QObject::connect(window.SBPrintText, &QToolButton::clicked, &window,
                     [&window] { SBPrintTextClick(window); });
    QObject::connect(window.SBCopy, &QToolButton::clicked, &window,
                     [&window] { SBCopyClick(window); });
}

} // namespace browser
