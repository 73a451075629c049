// A catalogue folder opened for reading by the tool's subcommands.
#pragma once

#include "catalog/Container.h"
#include "catalog/Records.h"
#include "catalog/TreeViewData.h"

#include <filesystem>
#include <string>

namespace cli {

// The catalogue in a folder, opened, its version checked and its overview tree loaded.
class OpenCatalogue {
public:
    explicit OpenCatalogue(const std::string& folder) : container_(nullptr) {
        const std::filesystem::path path(folder);
        container_.DataFileName = (path / catalog::kDefaultDataFileName).string();
        container_.IndexFileName = (path / catalog::kDefaultIndexFileName).string();
        container_.OnWrongVersion = [](const std::string& message) {
            throw catalog::EBrowzerError(message);
        };
        container_.CheckVersion();
        container_.SetActive(true);
        container_.LoadTree(tree_);
    }

    const catalog::TTreeViewData& Tree() const { return tree_; }
    catalog::TIndexedStream& Indexed() { return *container_.Indexed(); }

private:
    catalog::TTreeViewData tree_;
    catalog::TBrowzerContainer container_;
};

} // namespace cli
