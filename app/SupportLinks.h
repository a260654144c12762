#pragma once
// Where the support buttons lead: the web page and the mail address of the settings file's [Support]
// section (Url=, Mail=), and the mail the mail button opens, as CP932 text.
#include <string>
#include <string_view>

class ProfileFile;

struct SupportTargets {
    std::string url;  // blank: no web button
    std::string mail; // blank: no mail button
};

inline constexpr const char* kSupportSection = "Support";

// Values trimmed; a missing section or key reads as blank.
SupportTargets ReadSupportTargets(const ProfileFile& settings);

// "mailto:" address "?subject=tavoへの問い合わせ&cc=&bcc=&"; the subject stays unencoded CP932.
std::string SupportMailText(std::string_view address);
