// The rich-text view on a 1 MB info text that is one paragraph: from the markup lines to the
// text laid out in a shown view (the time the window is blocked when such an entry is selected),
// against laying the same text out once. Goal: under 0.3 s.
#include "browser/TextView.h"

#include <QAbstractTextDocumentLayout>
#include <QApplication>
#include <QTextDocument>
#include <benchmark/benchmark.h>
#include <cstdlib>
#include <string>

namespace {

// About 1 MB of words without a line break: one paragraph.
rtl::TStringList OneParagraph() {
    std::string text;
    for (int word = 0; text.size() < 1'000'000; ++word)
        text += "Komponente" + std::to_string(word % 977) + " ";
    rtl::TStringList lines;
    lines.Add("<F1>Lange Beschreibung");
    lines.Add("<F0>" + text);
    return lines;
}

void OneMegabyteParagraph(benchmark::State& state) {
    const rtl::TStringList lines = OneParagraph();
    browser::TKVTextView view;
    view.resize(560, 380);
    view.show();
    QApplication::processEvents();
    for (auto _ : state) {
        view.SetMarkupLines(lines);
        QApplication::processEvents();
        benchmark::DoNotOptimize(view.document()->documentLayout()->documentSize());
    }
}
BENCHMARK(OneMegabyteParagraph)->Unit(benchmark::kMillisecond)->Iterations(3);

// The floor: the paragraph's text laid out once, as plain text.
void OneLayoutOfThePlainText(benchmark::State& state) {
    const rtl::TStringList lines = OneParagraph();
    for (auto _ : state) {
        QTextDocument document;
        document.setPlainText(QString::fromStdString(lines.Strings(1)));
        document.setTextWidth(540);
        benchmark::DoNotOptimize(document.documentLayout()->documentSize());
    }
}
BENCHMARK(OneLayoutOfThePlainText)->Unit(benchmark::kMillisecond)->Iterations(3);

} // namespace
