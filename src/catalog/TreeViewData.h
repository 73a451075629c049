// TTreeViewData: the overview tree as parallel lists, one item per node. Top-level nodes come
// first; the children of each node are consecutive and follow their parent. TTVRevEntry hands
// one node out. Record references locate a node's record in the data file.
#pragma once

#include "catalog/IntList.h"
#include "rtl/DateUtils.h"
#include "rtl/Filer.h"
#include "rtl/StringList.h"

#include <cstdint>
#include <string>

namespace catalog {

// Record reference: -1 none; bit 31 a component; bit 30 a short text; neither an info text.
inline constexpr std::int32_t kNoRecord = -1;
inline constexpr std::uint32_t kCompoRecordFlag = 0x80000000u;
inline constexpr std::uint32_t kShortTextFlag = 0x40000000u;
// Data offsets stay below 256 MiB, so the low 28 bits always hold the offset.
inline constexpr std::uint32_t kMaxRecordOffset = 0x0FFFFFFFu;

enum class RecordKind { None, Info, Short, Compo };

RecordKind RecordKindOf(std::int32_t recordRef);
// The data offset a reference names (0 for none).
std::uint32_t RecordOffset(std::int32_t recordRef);
// The reference of a record of kind at offset (kNoRecord for RecordKind::None).
std::int32_t MakeRecordRef(RecordKind kind, std::uint32_t offset);

struct TTVRevEntry {
    std::string Name;
    std::string Key;
    rtl::TDateTime Date = 0;
    std::int32_t Parent = 0;
    std::int32_t FirstChild = 0;
    std::int32_t ChildCount = 0;
    std::int32_t RecordRef = 0;

    bool operator==(const TTVRevEntry&) const = default;
};

class TTreeViewData {
public:
    // Caption per node; each item's object is the node's record reference.
    rtl::TStringList Names;
    // Key text per node; stored only when HasKeys.
    rtl::TStringList Keys;
    TIntList Parents;
    TIntList FirstChildren;
    TIntList ChildCounts;
    TDateList Dates;
    std::int32_t RootCount = 0;
    bool HasKeys = false;

    int Count() const { return Names.Count(); }
    // Fills entry from node index; an index that is not a node gives a reset entry. A stored
    // date that is no calendar date raises EConvertError.
    void GetEntry(int index, TTVRevEntry& entry) const;
    TTVRevEntry Entry(int index) const;
    std::int32_t RecordRef(int index) const { return Names.Objects(index); }
    void SetRecordRef(int index, std::int32_t recordRef) { Names.SetObject(index, recordRef); }

    // Inserts a node as the last child of entry.Parent (-1: last top-level node), shifting the
    // nodes behind it; sets entry.FirstChild -1 and entry.ChildCount 0. Linear in Count().
    // Returns the new node's index.
    int AddNode(TTVRevEntry& entry);
    // Appends a node without moving others; the caller keeps the layout (see the outline
    // builder, which appends nodes in their final order). Returns the new node's index.
    int AppendNode(const TTVRevEntry& entry);
    void Clear();

    // RootCount, Names, HasKeys, [Keys], Parents, FirstChildren, ChildCounts, Dates, then the
    // record reference of every node.
    void WriteData(rtl::TWriter& writer) const;
    // Replaces the content with the stored layout. Damaged string lists end silently; a layout
    // whose lists disagree or whose links leave the tree is EReadError.
    void ReadData(rtl::TReader& reader);

    // Equal list lengths, top-level nodes first, every parent before its children, child ranges
    // inside the tree.
    bool IsConsistent() const;

    bool operator==(const TTreeViewData&) const = default;
};

} // namespace catalog
