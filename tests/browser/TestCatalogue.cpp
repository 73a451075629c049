#include "browser/TestCatalogue.h"

#include "catalog/CatalogBuilder.h"
#include "rtl/Stream.h"

#include <filesystem>

namespace browser_test {

std::string BuildCatalogue(const testing_support::TempDir& folder, const std::string& source,
                           Placement placement) {
    const std::filesystem::path root = folder.Path();
    std::filesystem::create_directories(root / "Data");
    const auto dataFolder = root / "Data";
    const auto dataFile = placement == Placement::DataFileBesideIndexInData ? root : dataFolder;
    rtl::TFileStream data((dataFile / "Vitrine32.dat").string(), rtl::FileMode::Create);
    rtl::TFileStream index((dataFolder / "Vitrine32.idx").string(), rtl::FileMode::Create);
    catalog::BuildCatalogue(source, "test.src", data, index);
    return root.string();
}

std::string SmallCatalogueSource() {
    return R"(INFOTEXT [WELCOME] 01.06.96 {
<F1>Welcome
<F0>Some text
}
INFOTEXT [OLD] 02.05.96 {
Old
}
INFOTEXT [NEW] 03.05.96 {
New
}
SHORTTEXT [FILE] 01.06.96 {
DATEIEN\FILE.ZIP
)"
           "\xC9\xCD\xCD\xBB"
           R"(
}
COMPONENT [COMP] 01.06.96 {
[ShortName]
Tabello
[LongName]
Tabello & Co
[Version]
2.1
[LastReview]
01.06.96
[KeyWords]
GRID TABLE
[Copyright]
ACME
[ShortInfo]
A grid.
[LongInfo]
Long text.
[Installation]
Unpack it.
[Review]
Good.
[Rating]
7
[OS]
Win
[Compiler]
PANDEX, PANDEX2
[Distribution]
Shareware
[Limitations]
none
[Price]
DM 10
[Contact]
Somewhere 1
[Language]
44
}
COMPONENT [PLAIN] 01.06.96 {
[LongName]
Plain
[Version]
1
[Rating]
0
[Language]
7
}
OUTLINE [TREE] 01.06.96 {
[WELCOME]Welcome
Folder A
  [OLD]Old entry
  [NEW]New entry
  Sub
    [COMP]Component
    [FILE]File
Folder B
  [WELCOME]Again
  [PLAIN]Plain
Last
}
)";
}

std::string FlatCatalogueSource(int count) {
    std::string source = "OUTLINE [TREE] 01.06.96 {\n";
    for (int i = 0; i < count; ++i)
        source += "Node " + std::to_string(i) + "\n";
    return source + "}\n";
}

int NodeNamed(const catalog::TTreeViewData& tree, const std::string& name) {
    for (int i = 0; i < tree.Count(); ++i) {
        if (tree.Names.Strings(i) == name)
            return i;
    }
    return -1;
}

} // namespace browser_test
