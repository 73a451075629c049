// A catalogue built from tools/gen-catalog's output, once: a later run finds it in place.
#pragma once

#include "catalog/CatalogBuilder.h"
#include "catalog/Container.h"

#include <cstdlib>
#include <filesystem>
#include <stdexcept>
#include <string>

namespace bench_catalogue {

// Unless outputFolder already holds a catalogue, runs the generator with arguments into source
// and builds the catalogue of that source into outputFolder.
inline void EnsureGeneratedCatalogue(const std::string& generator, const std::string& arguments,
                                     const std::filesystem::path& source,
                                     const std::filesystem::path& outputFolder) {
    if (std::filesystem::exists(outputFolder / catalog::kDefaultDataFileName))
        return;
    std::filesystem::create_directories(outputFolder);
    const std::string command = generator + " " + arguments + " > " + source.string();
    if (std::system(command.c_str()) != 0)
        throw std::runtime_error("tools/gen-catalog failed");
    catalog::BuildCatalogue(source.string(), outputFolder.string());
}

} // namespace bench_catalogue
