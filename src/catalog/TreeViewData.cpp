#include "catalog/TreeViewData.h"

#include "catalog/RecordIO.h"
#include "rtl/Exceptions.h"

namespace catalog {

RecordKind RecordKindOf(std::int32_t recordRef) {
    const auto ref = static_cast<std::uint32_t>(recordRef);
    if (recordRef == kNoRecord)
        return RecordKind::None;
    if (ref & kCompoRecordFlag)
        return RecordKind::Compo;
    if (ref & kShortTextFlag)
        return RecordKind::Short;
    return RecordKind::Info;
}

std::uint32_t RecordOffset(std::int32_t recordRef) {
    const auto ref = static_cast<std::uint32_t>(recordRef);
    switch (RecordKindOf(recordRef)) {
    case RecordKind::None:
        return 0;
    case RecordKind::Compo:
        return ref & ~kCompoRecordFlag;
    case RecordKind::Short:
        return ref & ~kShortTextFlag;
    case RecordKind::Info:
        break;
    }
    return ref;
}

std::int32_t MakeRecordRef(RecordKind kind, std::uint32_t offset) {
    switch (kind) {
    case RecordKind::None:
        return kNoRecord;
    case RecordKind::Compo:
        return static_cast<std::int32_t>(offset | kCompoRecordFlag);
    case RecordKind::Short:
        return static_cast<std::int32_t>(offset | kShortTextFlag);
    case RecordKind::Info:
        break;
    }
    return static_cast<std::int32_t>(offset);
}

void TTreeViewData::GetEntry(int index, TTVRevEntry& entry) const {
    try {
        entry.Name = Names.Strings(index);
        entry.Key = index < Keys.Count() ? Keys.Strings(index) : std::string();
        entry.Date = Dates.Items(index);
        entry.Parent = Parents.Items(index);
        entry.FirstChild = FirstChildren.Items(index);
        entry.ChildCount = ChildCounts.Items(index);
        entry.RecordRef = Names.Objects(index);
    } catch (const rtl::EListError&) {
        entry = TTVRevEntry();
    }
}

TTVRevEntry TTreeViewData::Entry(int index) const {
    TTVRevEntry entry;
    GetEntry(index, entry);
    return entry;
}

int TTreeViewData::AddNode(TTVRevEntry& entry) {
    int position = RootCount;
    if (entry.Parent != -1) {
        position = FirstChildren.Items(entry.Parent) + ChildCounts.Items(entry.Parent);
        if (position < 0)
            position = Count();
    }
    for (int j = 0; j < Count(); ++j) {
        if (FirstChildren.Items(j) >= position)
            FirstChildren.Put(j, FirstChildren.Items(j) + 1);
        if (Parents.Items(j) >= position)
            Parents.Put(j, Parents.Items(j) + 1);
    }
    entry.FirstChild = -1;
    entry.ChildCount = 0;
    Names.InsertObject(position, entry.Name, 0);
    Keys.Insert(position, entry.Key);
    Parents.Insert(position, entry.Parent);
    FirstChildren.Insert(position, -1);
    ChildCounts.Insert(position, 0);
    Dates.Insert(position, entry.Date);
    if (entry.Parent == -1) {
        ++RootCount;
    } else {
        ChildCounts.Increment(entry.Parent);
        if (ChildCounts.Items(entry.Parent) == 1)
            FirstChildren.Put(entry.Parent, position);
    }
    return position;
}

int TTreeViewData::AppendNode(const TTVRevEntry& entry) {
    Names.AddObject(entry.Name, entry.RecordRef);
    Keys.Add(entry.Key);
    Parents.Add(entry.Parent);
    FirstChildren.Add(entry.FirstChild);
    ChildCounts.Add(entry.ChildCount);
    Dates.Add(entry.Date);
    if (entry.Parent == -1)
        ++RootCount;
    return Count() - 1;
}

void TTreeViewData::Clear() {
    *this = TTreeViewData();
}

void TTreeViewData::WriteData(rtl::TWriter& writer) const {
    writer.WriteInteger(RootCount);
    WriteStrings(writer, Names);
    writer.WriteByte(HasKeys ? 1 : 0);
    if (HasKeys)
        WriteStrings(writer, Keys);
    Parents.WriteData(writer);
    FirstChildren.WriteData(writer);
    ChildCounts.WriteData(writer);
    Dates.WriteData(writer);
    for (const auto& name : Names)
        writer.WriteInteger(name.object);
}

void TTreeViewData::ReadData(rtl::TReader& reader) {
    TTreeViewData read;
    read.RootCount = reader.ReadInteger();
    ReadStrings(reader, read.Names);
    read.HasKeys = reader.ReadByte() != 0;
    if (read.HasKeys)
        ReadStrings(reader, read.Keys);
    read.Parents.ReadData(reader);
    read.FirstChildren.ReadData(reader);
    read.ChildCounts.ReadData(reader);
    read.Dates.ReadData(reader);
    for (int i = 0; i < read.Count(); ++i)
        read.Names.SetObject(i, reader.ReadInteger());
    if (!read.IsConsistent())
        throw rtl::EReadError();
    *this = std::move(read);
}

bool TTreeViewData::IsConsistent() const {
    const int n = Count();
    if ((HasKeys && Keys.Count() != n) || Parents.Count() != n || FirstChildren.Count() != n ||
        ChildCounts.Count() != n || Dates.Count() != n || RootCount < 0 || RootCount > n)
        return false;
    for (int i = 0; i < n; ++i) {
        const std::int32_t parent = Parents.Items(i);
        if (i < RootCount ? parent != -1 : parent < 0 || parent >= i)
            return false;
        const std::int64_t first = FirstChildren.Items(i);
        const std::int64_t children = ChildCounts.Items(i);
        if (children < 0 || (children > 0 && (first <= i || first + children > n)))
            return false;
    }
    return true;
}

} // namespace catalog
