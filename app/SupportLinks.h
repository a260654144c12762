#pragma once
// The mail the support button opens, as CP932 text.
#include <string>
#include <string_view>

// "mailto:" address "?subject=tavoへの問い合わせ&cc=&bcc=&"; the subject stays unencoded CP932.
std::string SupportMailText(std::string_view address);
