// The user account the program runs under, as the password database describes it.
#pragma once

#include <string>

namespace platform {

// The full name of the account: the name field of its password entry up to the first ",", as
// Windows-1252 text. Empty when there is none or it holds a character that text lacks.
std::string AccountFullName();

// The full name in a password entry's name field (UTF-8): up to the first ",", as Windows-1252
// text; empty when it holds a character Windows-1252 lacks.
std::string FullNameOfNameField(const std::string& nameField);

} // namespace platform
