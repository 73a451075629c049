#include "catalog/CatalogBuilder.h"

#include "catalog/Container.h"
#include "catalog/Records.h"
#include "catalog/ScriptSource.h"
#include "platform/FileSet.h"
#include "rtl/LittleEndian.h"
#include "rtl/StrUtils.h"

#include <algorithm>
#include <filesystem>
#include <map>
#include <memory>

namespace catalog {
namespace {

enum Keyword { kOutline = 1, kText, kInfoText, kShortText, kComponent };

// What an outline key resolves to.
struct StoredSection {
    RecordKind kind;
    std::uint32_t offset;
    rtl::TDateTime headerDate;
};

// The text between the first "[" and the first "]" of a header, trimmed of blanks; empty
// without such a pair.
std::string SectionName(const std::string& header) {
    std::size_t open = 0;
    std::size_t close = 0;
    if (!FindBracketPair(header, open, close))
        return {};
    return rtl::TrimBlanks(header.substr(open + 1, close - open - 1));
}

class CatalogueBuild {
public:
    CatalogueBuild(std::string_view sourceBytes, const std::string& sourceName, rtl::TStream& data,
                   rtl::TStream& index)
        : sourceName_(sourceName), source_(SplitSourceLines(sourceBytes),
                                           std::vector<std::string>(std::begin(kSectionKeywords),
                                                                    std::end(kSectionKeywords))),
          data_(data), indexed_(data, index) {}

    void Run() {
        std::uint8_t version[4];
        rtl::StoreU32(version, kDataFileVersion);
        data_.WriteBuffer(version, 4);
        source_.Line = -1;
        for (int keyword; (keyword = source_.FindNextSection()) != -1;)
            BuildSection(keyword, source_.Line);
        if (!outline_)
            Fail(std::max(source_.LineCount() - 1, 0), "no OUTLINE section");
        ResolveOutline();
        outline_->AssignStream(indexed_);
        StoreRecord(*outline_, outlineLine_);
    }

private:
    [[noreturn]] void Fail(int line, const std::string& message) const {
        throw ECatalogueBuildError(sourceName_ + ":" + std::to_string(line + 1) + ": " + message);
    }

    static std::unique_ptr<TParamScriptComponent> CreateRecord(int keyword) {
        switch (keyword) {
        case kOutline:
            return std::make_unique<TScriptOutlineText>(nullptr);
        case kText:
            return std::make_unique<TScriptText>(nullptr);
        case kInfoText:
            return std::make_unique<TScriptInfoText>(nullptr);
        case kShortText:
            return std::make_unique<TShortText>(nullptr);
        default:
            return std::make_unique<TCompoText>(nullptr);
        }
    }

    static RecordKind KindOf(int keyword) {
        switch (keyword) {
        case kComponent:
            return RecordKind::Compo;
        case kShortText:
            return RecordKind::Short;
        default:
            return RecordKind::Info;
        }
    }

    void BuildSection(int keyword, int header) {
        std::unique_ptr<TParamScriptComponent> record = CreateRecord(keyword);
        try {
            record->Parse(source_);
        } catch (const rtl::Exception& error) {
            Fail(header, error.Message());
        }
        if (keyword == kOutline) {
            if (outline_)
                Fail(header, "second OUTLINE section");
            outline_.reset(static_cast<TScriptOutlineText*>(record.release()));
            outlineLine_ = header;
            return;
        }
        const std::string name = SectionName(source_.Lines(header));
        const std::string key = rtl::UpperCaseAscii(name);
        if (!key.empty() && sections_.contains(key))
            Fail(header, "duplicate section name '" + name + "'");
        record->AssignStream(indexed_);
        StoreRecord(*record, header);
        if (!key.empty())
            sections_[key] = {KindOf(keyword), record->Position, record->HeaderDate};
    }

    void StoreRecord(TScriptComponent& record, int header) {
        if (data_.Position() > kMaxRecordOffset)
            Fail(header, "data file larger than 256 MiB");
        record.Store();
    }

    // Record references and dates of the outline's nodes from their keys.
    void ResolveOutline() {
        TTreeViewData& tree = *outline_->Tree;
        tree.HasKeys = false;
        for (int node = 0; node < tree.Count(); ++node) {
            const std::string& key = tree.Keys.Strings(node);
            tree.HasKeys = tree.HasKeys || !key.empty();
            const std::string name = rtl::TrimBlanks(key);
            if (name.empty()) {
                tree.SetRecordRef(node, kNoRecord);
                tree.Dates.Put(node, DefaultDate());
                continue;
            }
            const auto section = sections_.find(rtl::UpperCaseAscii(name));
            if (section == sections_.end())
                Fail(outlineLine_, "unknown outline key '" + name + "'");
            tree.SetRecordRef(node, MakeRecordRef(section->second.kind, section->second.offset));
            tree.Dates.Put(node, section->second.headerDate);
        }
    }

    std::string sourceName_;
    ScriptSource source_;
    rtl::TStream& data_;
    TIndexedStream indexed_;
    std::map<std::string, StoredSection> sections_;
    std::unique_ptr<TScriptOutlineText> outline_;
    int outlineLine_ = -1;
};

} // namespace

void BuildCatalogue(std::string_view sourceBytes, const std::string& sourceName, rtl::TStream& data,
                    rtl::TStream& index) {
    CatalogueBuild(sourceBytes, sourceName, data, index).Run();
}

void BuildCatalogue(const std::string& sourcePath, const std::string& outputDir) {
    rtl::TMemoryStream source;
    source.LoadFromFile(sourcePath);
    rtl::TMemoryStream data;
    rtl::TMemoryStream index;
    const auto& bytes = source.Bytes();
    BuildCatalogue(std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()),
                   sourcePath, data, index);

    const std::filesystem::path dir(outputDir);
    platform::FileSet files;
    files.Write((dir / kDefaultDataFileName).string(), data.Bytes());
    files.Write((dir / kDefaultIndexFileName).string(), index.Bytes());
    files.Commit();
}

} // namespace catalog
