// String lists in tests: built from a brace list, and compared as plain vectors of their texts.
#pragma once

#include "rtl/StringList.h"

#include <initializer_list>
#include <string>
#include <vector>

namespace testing_support {

inline rtl::TStringList StringListOf(std::initializer_list<std::string> items) {
    rtl::TStringList list;
    for (const std::string& item : items)
        list.Add(item);
    return list;
}

inline std::vector<std::string> ItemsOf(const rtl::TStringList& list) {
    std::vector<std::string> items;
    for (const auto& item : list)
        items.push_back(item.text);
    return items;
}

} // namespace testing_support
