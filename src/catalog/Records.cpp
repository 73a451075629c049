#include "catalog/Records.h"

#include "catalog/Container.h"
#include "catalog/OutlineBuilder.h"
#include "catalog/RecordIO.h"
#include "catalog/ScriptSource.h"
#include "rtl/Exceptions.h"
#include "rtl/Filer.h"
#include "rtl/StrUtils.h"

#include <cassert>

namespace catalog {
namespace {

bool StartsKey(const std::string& line) {
    return line.starts_with('[');
}

bool IsCommentLine(const std::string& line) {
    return !line.empty() && line.front() == ';';
}

// The section body after the header at source.Line (see TScriptText::Parse), appended to lines.
// The last section reaches to the end of the source, so its closing "}" line is found too.
void CollectBody(ScriptSource& source, rtl::TStringList& lines, bool skipComments) {
    source.Line += 1;
    const int start = source.Line;
    const int next = source.FindNextSection() != -1 ? source.Line : source.LineCount();
    int end = -1;
    for (int k = next - 1; k >= start; --k) {
        if (source.Lines(k).find('}') != std::string::npos) {
            end = k - 1;
            break;
        }
    }
    if (end == -1)
        end = start + 1;
    for (int k = start; k <= end; ++k) {
        const std::string& line = source.Lines(k);
        if (!(skipComments && IsCommentLine(line)))
            lines.Add(line);
    }
    source.Line -= 1;
}

// The line with the font tag at its first "<F" (any case) removed.
std::string WithoutFontTag(const std::string& line) {
    std::string text = line;
    const std::size_t tag = rtl::FindNoCase(text, "<F");
    if (tag != std::string::npos)
        text.erase(tag, 4);
    return text;
}

bool StartsParagraph(const std::string& line) {
    return line.empty() || line.front() == ' ' || line.front() == '\t' || line.front() == '\b';
}

// An optional sign and decimal digits, of any length, modulo 256; anything else is 0.
std::uint8_t ByteValueOf(const std::string& value) {
    std::size_t i = 0;
    const bool negative = !value.empty() && value[0] == '-';
    if (!value.empty() && (value[0] == '-' || value[0] == '+'))
        ++i;
    if (i == value.size())
        return 0;
    unsigned byte = 0;
    for (; i < value.size(); ++i) {
        if (value[i] < '0' || value[i] > '9')
            return 0;
        byte = (byte * 10 + static_cast<unsigned>(value[i] - '0')) % 256;
    }
    return static_cast<std::uint8_t>(negative ? (256 - byte) % 256 : byte);
}

// Key lookup in a component's source lines: a key's line is the last line containing the key
// (ASCII letters without case); its value is the line after it.
class KeyedLines {
public:
    explicit KeyedLines(const rtl::TStringList& lines) : lines_(lines) {
        for (const auto& line : lines)
            upper_.push_back(rtl::UpperCaseAscii(line.text));
    }

    std::string Value(const std::string& key) const {
        const int line = KeyLine(key);
        return line < 0 ? std::string() : lines_.Strings(line + 1);
    }

    // The value line, always, and the lines up to the next line beginning with "[", the value
    // line included in that search: a value line that is itself a "[" line stands alone.
    void Block(const std::string& key, rtl::TStringList& block) const {
        block.Clear();
        const int line = KeyLine(key);
        if (line < 0)
            return;
        const std::string& value = lines_.Strings(line + 1);
        block.Add(value);
        if (StartsKey(value))
            return;
        for (int k = line + 2; k < lines_.Count() && !StartsKey(lines_.Strings(k)); ++k)
            block.Add(lines_.Strings(k));
    }

private:
    int KeyLine(const std::string& key) const {
        const std::string upperKey = rtl::UpperCaseAscii(key);
        for (int k = static_cast<int>(upper_.size()) - 1; k >= 0; --k)
            if (upper_[static_cast<std::size_t>(k)].find(upperKey) != std::string::npos)
                return k;
        return -1;
    }

    const rtl::TStringList& lines_;
    std::vector<std::string> upper_;
};

} // namespace

// ---- TScriptComponent

void TScriptComponent::Parse(ScriptSource& source) {
    Source = &source;
}

void TScriptComponent::Store() {
    AddIndexEntry();
    StoreOwned();
}

void TScriptComponent::AssignStream(TIndexedStream& indexed) {
    Stream = &indexed.Packer();
    Indexed = &indexed;
}

void TScriptComponent::LoadAt(TIndexedStream& indexed, std::uint32_t offset) {
    indexed.DataStream().SetPosition(offset);
    AssignStream(indexed);
    Load();
}

void TScriptComponent::AddIndexEntry() {
    Position = static_cast<std::uint32_t>(DataStream().Position());
    Indexed->AddEntry(GetTypeId(), Position);
}

void TScriptComponent::StoreOwned() {
    for (int i = 0; i < ComponentCount(); ++i) {
        auto* record = dynamic_cast<TScriptComponent*>(Components(i));
        if (!record)
            throw rtl::EInvalidCast();
        record->Store();
    }
}

rtl::TStream& TScriptComponent::DataStream() const {
    assert(Indexed && "AssignStream before Load or Store");
    return Indexed->DataStream();
}

TKVPacker& TScriptComponent::Packer() const {
    assert(Stream && "AssignStream before Load or Store");
    return *Stream;
}

// ---- TParamScriptComponent

void TParamScriptComponent::Parse(ScriptSource& source) {
    const std::string& header = source.Lines(source.Line);
    std::size_t open = 0;
    std::size_t close = 0;
    if (FindBracketPair(header, open, close)) {
        std::string date;
        for (const char c : header.substr(close + 1))
            if (c != ' ' && c != '\t' && c != '\b')
                date += c;
        HeaderDate = ParseDateOrDefault(date.substr(0, 8));
    }
    TScriptComponent::Parse(source);
}

// ---- TScriptText

void TScriptText::Parse(ScriptSource& source) {
    TParamScriptComponent::Parse(source);
    Lines.Clear();
    CollectBody(source, Lines, false);
}

void TScriptText::Store() {
    AddIndexEntry();
    rtl::TWriter writer(Packer(), kRecordBufferSize);
    WriteStrings(writer, Lines);
    writer.WriteByte(Wrap ? 1 : 0);
    writer.FlushBuffer();
    StoreOwned();
}

void TScriptText::Load() {
    rtl::TReader reader(Packer(), kRecordBufferSize, kRecordReadBudget);
    Lines.Clear();
    const std::int32_t count = reader.ReadInteger();
    for (std::int32_t i = 0; i < count; ++i)
        Lines.Add(reader.ReadString());
    Wrap = reader.ReadByte() != 0;
}

void TScriptText::SearchTextLines(std::vector<std::string_view>& lines) const {
    lines.clear();
    for (const auto& line : Lines)
        lines.push_back(line.text);
}

// ---- TScriptOutlineText

TScriptOutlineText::TScriptOutlineText(rtl::TComponent* owner, TTreeViewData* tree)
    : TScriptText(owner), TreeGiven(tree != nullptr), Tree(tree) {
    if (!Tree) {
        ownTree_ = std::make_unique<TTreeViewData>();
        Tree = ownTree_.get();
    }
}

void TScriptOutlineText::Parse(ScriptSource& source) {
    TScriptText::Parse(source);
    if (Lines.Empty())
        return;
    BuildOutline(Lines, *Tree, [this](int percent) {
        if (OnProgress)
            OnProgress(this, percent);
    });
}

void TScriptOutlineText::Store() {
    AddIndexEntry();
    rtl::TWriter writer(Packer(), kOutlineBufferSize);
    Tree->WriteData(writer);
    writer.FlushBuffer();
}

void TScriptOutlineText::Load() {
    rtl::TReader reader(Packer(), kOutlineBufferSize, kOutlineReadBudget);
    Tree->ReadData(reader);
}

// ---- TScriptInfoText

void TScriptInfoText::Parse(ScriptSource& source) {
    TScriptText::Parse(source);
    if (!dynamic_cast<TShortText*>(this))
        Lines = JoinParagraphs(Lines, Wrap);
}

void TScriptInfoText::Store() {
    TScriptText::Store();
    Offset = Position;
}

rtl::TStringList JoinParagraphs(const rtl::TStringList& lines, bool& wrap) {
    wrap = true;
    int first = 0;
    if (!lines.Empty() &&
        rtl::UpperCaseAscii(lines.Strings(0)).find("<NOWRAP>") != std::string::npos) {
        wrap = false;
        first = 1;
    }
    const int count = lines.Count();
    rtl::TStringList paragraphs;
    for (int i = first; i < count; ++i) {
        std::string paragraph = lines.Strings(i);
        if (i < count - 1 && wrap) {
            const bool joinable = !WithoutFontTag(lines.Strings(i)).empty() &&
                                  !WithoutFontTag(lines.Strings(i + 1)).empty();
            while (joinable && i + 1 < count && !StartsParagraph(lines.Strings(i + 1))) {
                const std::string& next = lines.Strings(i + 1);
                paragraph = paragraph.empty() ? next : paragraph + ' ' + next;
                ++i;
            }
        }
        paragraphs.Add(std::move(paragraph));
    }
    return paragraphs;
}

// ---- TCompoText

void TCompoText::Parse(ScriptSource& source) {
    TParamScriptComponent::Parse(source);
    Lines.Clear();
    CollectBody(source, Lines, true);
    AnalyseKeys();
    Lines.Clear();
}

rtl::TStringList SplitKeyTokens(const std::string& value) {
    rtl::TStringList tokens;
    std::string_view rest = value;
    while (!rest.empty()) {
        std::size_t cut = rest.find(' ');
        if (cut == std::string_view::npos)
            cut = rest.find(',');
        if (cut == std::string_view::npos)
            cut = rest.find(';');
        const std::size_t length = cut == std::string_view::npos ? rest.size() : cut + 1;
        std::string token;
        for (const char c : rtl::UpperCaseAscii(rest.substr(0, length))) {
            if (c == ' ' || c == ',' || c == ';')
                continue;
            token += c;
            if (c == '&')
                token += '&';
        }
        if (!token.empty())
            tokens.Add(std::move(token));
        rest.remove_prefix(length);
    }
    return tokens;
}

void TCompoText::AnalyseKeys() {
    const KeyedLines keys(Lines);
    ShortName = keys.Value("[ShortName]");
    LongName = keys.Value("[LongName]");
    FileName = keys.Value("[FileName]");
    Version = keys.Value("[Version]");
    LastReview = keys.Value("[LastReview]");
    HeaderDate = ParseDateOrDefault(rtl::TrimBlanks(LastReview.substr(0, 8)));
    KeyWords = SplitKeyTokens(keys.Value("[KeyWords]"));
    Copyright = keys.Value("[Copyright]");
    keys.Block("[ShortInfo]", ShortInfo);
    keys.Block("[LongInfo]", LongInfo);
    keys.Block("[Installation]", Installation);
    keys.Block("[Review]", Review);
    OS = keys.Value("[OS]");
    const rtl::TStringList compilers = SplitKeyTokens(keys.Value("Compiler"));
    Compilers = 0;
    if (compilers.IndexOf("PANDEX") >= 0)
        Compilers |= kCompilerPandex;
    if (compilers.IndexOf("PANDEX2") >= 0)
        Compilers |= kCompilerPandex2;
    if (compilers.IndexOf("BP") >= 0)
        Compilers |= kCompilerBP;
    keys.Block("[Documentation]", Documentation);
    Distribution = keys.Value("[Distribution]");
    Limitations = keys.Value("[Limitations]");
    Price = keys.Value("[Price]");
    keys.Block("[Order]", Order);
    keys.Block("[Contact]", Contact);
    Rating = ByteValueOf(keys.Value("[Rating]"));
    Language = ByteValueOf(keys.Value("[Language]"));
}

void TCompoText::Store() {
    Offset = static_cast<std::uint32_t>(DataStream().Position());
    AddIndexEntry();
    rtl::TWriter writer(Packer(), kRecordBufferSize);
    for (const std::string* text : {&ShortName, &LongName, &FileName, &Version, &LastReview,
                                    &Copyright, &OS, &Distribution, &Limitations, &Price})
        writer.WriteString(*text);
    writer.WriteByte(Rating);
    writer.WriteByte(Language);
    writer.WriteByte(Compilers);
    for (const rtl::TStringList* list : {&KeyWords, &ShortInfo, &LongInfo, &Installation, &Review,
                                         &Documentation, &Contact, &Order})
        WriteStrings(writer, *list);
    writer.FlushBuffer();
    StoreOwned();
}

void TCompoText::Load() {
    rtl::TReader reader(Packer(), kRecordBufferSize, kRecordReadBudget);
    Lines.Clear();
    for (std::string* text : {&ShortName, &LongName, &FileName, &Version, &LastReview, &Copyright,
                              &OS, &Distribution, &Limitations, &Price})
        *text = reader.ReadString();
    Rating = reader.ReadByte();
    Language = reader.ReadByte();
    Compilers = reader.ReadByte();
    for (rtl::TStringList* list : {&KeyWords, &ShortInfo, &LongInfo, &Installation, &Review,
                                   &Documentation, &Contact, &Order})
        ReadStrings(reader, *list);
}

void TCompoText::SearchTextLines(std::vector<std::string_view>& lines) const {
    lines.clear();
    for (const rtl::TStringList* list : {&KeyWords, &LongInfo, &ShortInfo, &Review, &Installation})
        for (const auto& line : *list)
            lines.push_back(line.text);
    lines.push_back(LongName);
    lines.push_back(FileName);
}

} // namespace catalog
