// The catalogue's typed records. Each reads itself from the packed data file (Load), hands its
// text to the full-text search (SearchTextLines), and on the build side parses itself from script
// source (Parse) and appends itself to the data file and the index (Store).
//
// Reading protocol: create, set Offset, position the data stream, AssignStream, Load. Each Load
// replaces every stored field, so one object may be reused for many records.
#pragma once

#include "catalog/PackedStream.h"
#include "catalog/TreeViewData.h"
#include "rtl/Component.h"
#include "rtl/DateUtils.h"
#include "rtl/StringList.h"

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace catalog {

class ScriptSource;
class TIndexedStream;

// Record type ids, as stored in the index.
inline constexpr std::uint16_t kScriptComponentId = 0;
inline constexpr std::uint16_t kScriptTextId = 2;
inline constexpr std::uint16_t kOutlineTextId = 3;
inline constexpr std::uint16_t kInfoTextId = 4;
inline constexpr std::uint16_t kCompoTextId = 5;
inline constexpr std::uint16_t kShortTextId = 6;

// Record reader and writer buffer sizes: one block holds at most one buffer.
inline constexpr std::int32_t kRecordBufferSize = 64000;
inline constexpr std::int32_t kOutlineBufferSize = 1000000;
// What reading one record may cost (decoded bytes and string overhead, see rtl::TReader): far
// above any real record, far below what damaged or hostile data could make a reader allocate.
inline constexpr std::int64_t kRecordReadBudget = std::int64_t{16} << 20;
inline constexpr std::int64_t kOutlineReadBudget = std::int64_t{128} << 20;

class TScriptComponent : public rtl::TComponent {
public:
    explicit TScriptComponent(rtl::TComponent* owner) : rtl::TComponent(owner) {}

    virtual std::uint16_t GetTypeId() const { return kScriptComponentId; }
    // Remembers the source; the driver has put source.Line on the section's header.
    virtual void Parse(ScriptSource& source);
    // Appends the record at the data stream's position and its index entry. Owned records
    // (which must be script records, else EInvalidCast) are stored after the owner's data.
    virtual void Store();
    // Reads the record at the data stream's position.
    virtual void Load() = 0;

    // Stream := the packer of indexed; Indexed := indexed.
    void AssignStream(TIndexedStream& indexed);
    // Reads the record at a data offset the way every reader does: the data stream positioned
    // at the offset from its start, AssignStream, Load.
    void LoadAt(TIndexedStream& indexed, std::uint32_t offset);

    ScriptSource* Source = nullptr;
    TKVPacker* Stream = nullptr;
    std::uint32_t Position = 0;
    TIndexedStream* Indexed = nullptr;

protected:
    // Position := the data stream's position; an index entry of GetTypeId() there.
    void AddIndexEntry();
    void StoreOwned();
    rtl::TStream& DataStream() const;
    TKVPacker& Packer() const;
};

class TParamScriptComponent : public TScriptComponent {
public:
    using TScriptComponent::TScriptComponent;

    // Takes HeaderDate from the header line "KEYWORD [Name] dd.mm.yy": the text after "]"
    // without blanks, tabs and backspaces, its first 8 characters as a date, else DefaultDate().
    // A header without "[" before "]" leaves HeaderDate as it is (0 after construction).
    void Parse(ScriptSource& source) override;
    // Replaces lines with the record's searchable text as views into the record, valid until it
    // is loaded again or freed: what a search matches without copying a line.
    virtual void SearchTextLines(std::vector<std::string_view>& lines) const = 0;

    // Not stored; set by Parse only.
    rtl::TDateTime HeaderDate = 0;
};

class TScriptText : public TParamScriptComponent {
public:
    using TParamScriptComponent::TParamScriptComponent;

    std::uint16_t GetTypeId() const override { return kScriptTextId; }
    // The header, then the section body into Lines: from the header's next line to before the
    // last "}" line ahead of the next header or the end of the source; without a "}" line the
    // two lines after the header. Leaves source.Line on the line before the next header (on the
    // header itself when none follows).
    void Parse(ScriptSource& source) override;
    void Store() override;
    void Load() override;
    void SearchTextLines(std::vector<std::string_view>& lines) const override;

    rtl::TStringList Lines;
    bool Wrap = false;
};

class TScriptOutlineText : public TScriptText {
public:
    // Fills tree when given (which stays the caller's), else a tree data of its own.
    explicit TScriptOutlineText(rtl::TComponent* owner, TTreeViewData* tree = nullptr);

    std::uint16_t GetTypeId() const override { return kOutlineTextId; }
    // The body lines, then the tree built from their indentation (see OutlineBuilder).
    void Parse(ScriptSource& source) override;
    void Store() override;
    void Load() override;

    const bool TreeGiven;
    TTreeViewData* Tree;

private:
    std::unique_ptr<TTreeViewData> ownTree_;
};

class TScriptInfoText : public TScriptText {
public:
    using TScriptText::TScriptText;

    std::uint16_t GetTypeId() const override { return kInfoTextId; }
    // As TScriptText; an info text (not a short text) then joins its lines into paragraphs.
    void Parse(ScriptSource& source) override;
    void Store() override;

    std::uint32_t Offset = 0;
};

class TShortText final : public TScriptInfoText {
public:
    using TScriptInfoText::TScriptInfoText;

    std::uint16_t GetTypeId() const override { return kShortTextId; }
};

class TCompoText final : public TParamScriptComponent {
public:
    using TParamScriptComponent::TParamScriptComponent;

    std::uint16_t GetTypeId() const override { return kCompoTextId; }
    // The header, the body without ";" comment lines, AnalyseKeys, then Lines cleared.
    void Parse(ScriptSource& source) override;
    void Store() override;
    void Load() override;
    // KeyWords, LongInfo, ShortInfo, Review, Installation, then LongName and FileName.
    void SearchTextLines(std::vector<std::string_view>& lines) const override;
    // Fills the fields from the "[Key]" lines in Lines. A key line without a value line is
    // EListError.
    void AnalyseKeys();

    rtl::TStringList Lines;
    std::uint32_t Offset = 0;
    std::string ShortName;
    std::string LongName;
    std::string FileName;
    std::string Version;
    std::string LastReview;
    rtl::TStringList KeyWords;
    std::string Copyright;
    rtl::TStringList ShortInfo;
    rtl::TStringList LongInfo;
    rtl::TStringList Installation;
    rtl::TStringList Review;
    std::uint8_t Rating = 0;
    std::string OS;
    std::uint8_t Compilers = 0;
    rtl::TStringList Documentation;
    std::uint8_t Language = 0;
    std::string Distribution;
    std::string Limitations;
    std::string Price;
    rtl::TStringList Order;
    rtl::TStringList Contact;
};

// Compiler bits of TCompoText::Compilers.
inline constexpr std::uint8_t kCompilerPandex = 1;
inline constexpr std::uint8_t kCompilerPandex2 = 2;
inline constexpr std::uint8_t kCompilerBP = 4;

// The tokens of a keyword or compiler value: cut after the first blank, else the first ",",
// else the first ";"; each upper-cased (ASCII), without blanks, commas and semicolons, every "&"
// doubled; empty tokens dropped.
rtl::TStringList SplitKeyTokens(const std::string& value);

// An info text's lines joined into paragraphs; a "<NOWRAP>" first line is dropped and turns
// wrapping off (wrap receives the result).
rtl::TStringList JoinParagraphs(const rtl::TStringList& lines, bool& wrap);

} // namespace catalog
