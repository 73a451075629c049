// A small catalogue for the search tests, built from script source.
#pragma once

#include <string>

namespace search_test {

// An outline of a welcome text, a folder with two components and a ZIP short text, then
// `extra` info texts that all mention "Drucker".
inline std::string CatalogueSource(int extra) {
    std::string outline = "OUTLINE [Gliederung] 01.06.96 {\n"
                          "[welcome]Willkommen\n"
                          "Komponenten\n"
                          "  [dbtool]Datenbank-Tool\n"
                          "  [printtool]Drucker-Tool\n"
                          "  [demozip]Archiv\n";
    std::string sections =
        "INFOTEXT [welcome] 01.06.96 {\n<F1>Willkommen\n\nEine Datenbank\n}\n"
        "COMPONENT [dbtool] 01.06.96 {\n[ShortName]\nDBTool\n[LongName]\n"
        "Datenbank Tool\n[KeyWords]\nDATENBANK TABELLE\n}\n"
        "COMPONENT [printtool] 01.06.96 {\n[ShortName]\nPT\n[LongName]\n"
        "Drucker Tool\n[KeyWords]\nDRUCKER\n}\n"
        "SHORTTEXT [demozip] 01.06.96 {\nDEMO.Zip  Ein Archiv\nDrucker inside\n}\n";
    for (int i = 0; i < extra; ++i) {
        const std::string name = "t" + std::to_string(i);
        outline += "[" + name + "]Hinweis " + std::to_string(i) + "\n";
        sections += "INFOTEXT [" + name + "] 01.06.96 {\nNoch ein Drucker Nummer " +
                    std::to_string(i) + "\n}\n";
    }
    return outline + "}\n" + sections;
}

} // namespace search_test
