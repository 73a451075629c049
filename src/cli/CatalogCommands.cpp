#include "cli/CatalogCommands.h"

#include "catalog/CatalogBuilder.h"
#include "catalog/Container.h"
#include "catalog/Records.h"
#include "catalog/TreeViewData.h"
#include "cli/OpenCatalogue.h"
#include "cli/TextOutput.h"

#include <cstdio>
#include <filesystem>
#include <limits>
#include <string>
#include <utility>

namespace cli {
namespace {

const char* KindName(catalog::RecordKind kind) {
    switch (kind) {
    case catalog::RecordKind::Info:
        return "info";
    case catalog::RecordKind::Short:
        return "short";
    case catalog::RecordKind::Compo:
        return "compo";
    case catalog::RecordKind::None:
        break;
    }
    return "none";
}

std::string IsoDate(rtl::TDateTime date) {
    const rtl::DateParts parts = rtl::DecodeDate(date);
    char text[32];
    std::snprintf(text, sizeof text, "%04d-%02d-%02d", parts.year, parts.month, parts.day);
    return text;
}

void AddLines(TextOutput& out, const rtl::TStringList& lines) {
    for (const auto& item : lines)
        out.Add("| ", item.text);
}

// An info text or a short text (TextRecord), which read alike.
template <class TextRecord>
void AddText(TextOutput& out, OpenCatalogue& catalogue, std::uint32_t offset) {
    TextRecord text(nullptr);
    text.LoadAt(catalogue.Indexed(), offset);
    out.Add(std::string("wrap: ") + (text.Wrap ? "1" : "0"));
    out.Add("lines: " + std::to_string(text.Lines.Count()));
    AddLines(out, text.Lines);
}

// Every field in the order of the stored record.
void AddComponent(TextOutput& out, OpenCatalogue& catalogue, std::uint32_t offset) {
    catalog::TCompoText compo(nullptr);
    compo.LoadAt(catalogue.Indexed(), offset);
    const std::pair<const char*, const std::string*> values[] = {
        {"ShortName", &compo.ShortName},
        {"LongName", &compo.LongName},
        {"FileName", &compo.FileName},
        {"Version", &compo.Version},
        {"LastReview", &compo.LastReview},
        {"Copyright", &compo.Copyright},
        {"OS", &compo.OS},
        {"Distribution", &compo.Distribution},
        {"Limitations", &compo.Limitations},
        {"Price", &compo.Price},
    };
    for (const auto& [name, value] : values)
        out.Add(std::string(name) + ": ", *value);
    out.Add("Rating: " + std::to_string(compo.Rating));
    out.Add("Language: " + std::to_string(compo.Language));
    out.Add("Compilers: " + std::to_string(compo.Compilers));
    const std::pair<const char*, const rtl::TStringList*> lists[] = {
        {"KeyWords", &compo.KeyWords}, {"ShortInfo", &compo.ShortInfo},
        {"LongInfo", &compo.LongInfo}, {"Installation", &compo.Installation},
        {"Review", &compo.Review},     {"Documentation", &compo.Documentation},
        {"Contact", &compo.Contact},   {"Order", &compo.Order},
    };
    for (const auto& [name, list] : lists) {
        out.Add(std::string(name) + ": " + std::to_string(list->Count()));
        AddLines(out, *list);
    }
}

void RequireCount(Arguments arguments, std::size_t count) {
    if (arguments.size() != count)
        throw UsageError("expected " + std::to_string(count) + " argument" +
                         (count == 1 ? "" : "s"));
}

} // namespace

// The folder is made when it is missing, and removed again when the build fails.
int RunBuild(Arguments arguments) {
    RequireCount(arguments, 2);
    const std::filesystem::path folder(arguments[1]);
    std::error_code ignored;
    const bool made = std::filesystem::create_directories(folder, ignored);
    try {
        catalog::BuildCatalogue(arguments[0], arguments[1]);
    } catch (...) {
        if (made)
            std::filesystem::remove(folder, ignored);
        throw;
    }
    return 0;
}

int RunTree(Arguments arguments) {
    RequireCount(arguments, 1);
    OpenCatalogue catalogue(arguments[0]);
    const catalog::TTreeViewData& tree = catalogue.Tree();
    TextOutput out;
    for (int index = 0; index < tree.Count(); ++index) {
        const catalog::TTVRevEntry entry = tree.Entry(index);
        const catalog::RecordKind kind = catalog::RecordKindOf(entry.RecordRef);
        const std::string offset = kind == catalog::RecordKind::None
                                       ? "-"
                                       : std::to_string(catalog::RecordOffset(entry.RecordRef));
        out.Add(std::to_string(index) + '\t' + std::to_string(entry.Parent) + '\t' +
                    KindName(kind) + '\t' + offset + '\t' + IsoDate(entry.Date) + '\t',
                entry.Name);
    }
    out.Write();
    return 0;
}

int RunShow(Arguments arguments) {
    RequireCount(arguments, 2);
    const auto index = ParseNumber(arguments[1], std::numeric_limits<int>::min(),
                                   std::numeric_limits<int>::max(), "INDEX");
    OpenCatalogue catalogue(arguments[0]);
    const catalog::TTreeViewData& tree = catalogue.Tree();
    if (index < 0 || index >= tree.Count())
        throw catalog::EBrowzerError("Entry " + std::to_string(index) + " does not exist (" +
                                     std::to_string(tree.Count()) + " entries)");
    const std::int32_t ref = tree.RecordRef(static_cast<int>(index));
    const catalog::RecordKind kind = catalog::RecordKindOf(ref);
    const std::uint32_t offset = catalog::RecordOffset(ref);
    TextOutput out;
    out.Add(std::string("kind: ") + KindName(kind));
    switch (kind) {
    case catalog::RecordKind::Info:
        AddText<catalog::TScriptInfoText>(out, catalogue, offset);
        break;
    case catalog::RecordKind::Short:
        AddText<catalog::TShortText>(out, catalogue, offset);
        break;
    case catalog::RecordKind::Compo:
        AddComponent(out, catalogue, offset);
        break;
    case catalog::RecordKind::None:
        break;
    }
    out.Write();
    return 0;
}

} // namespace cli
