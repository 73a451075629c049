// Seeded random text over a small alphabet, for property tests that compare a rule with its
// plain statement on many short inputs.
#pragma once

#include <cstddef>
#include <random>
#include <string>
#include <string_view>

namespace testing_support {

inline std::string RandomText(std::mt19937& random, std::string_view alphabet, std::size_t size) {
    std::string text;
    while (text.size() < size)
        text += alphabet[random() % alphabet.size()];
    return text;
}

} // namespace testing_support
