// Catalogues for the browser's widget tests, built from script source with the catalogue build
// into a temporary program folder.
#pragma once

#include "catalog/TreeViewData.h"
#include "support/TempDir.h"

#include <string>

namespace browser_test {

// Where the two catalogue files go below the program folder.
enum class Placement { DataFolder, DataFileBesideIndexInData };

// Builds source into Vitrine32.dat and Vitrine32.idx in folder (by placement); returns folder.
std::string BuildCatalogue(const testing_support::TempDir& folder, const std::string& source,
                           Placement placement = Placement::DataFolder);

// A small catalogue: info texts, a short text, two components, folders three levels deep.
//   Welcome                       info text, 01.06.96
//   Folder A
//     Old entry                   info text, 02.05.96 (the default NewSinceDate)
//     New entry                   info text, 03.05.96
//     Sub
//       Component                 component "Tabello & Co" 2.1
//       File                      short text
//   Folder B
//     Again                       info text (Welcome)
//     Plain                       component without platform line
//   Last                          no record
std::string SmallCatalogueSource();
// An outline of count top-level nodes "Node 0" .. without records.
std::string FlatCatalogueSource(int count);

// Index of the first node captioned name; -1 if none.
int NodeNamed(const catalog::TTreeViewData& tree, const std::string& name);

} // namespace browser_test
