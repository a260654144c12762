#include "app/SupportLinks.h"

#include "platform/Cp932.h"
#include "platform/Cp932Codec.h"
#include "platform/ProfileFile.h"

SupportTargets ReadSupportTargets(const ProfileFile& f) {
    return {cp932::PlainTrim(f.ReadString(kSupportSection, "Url", "")),
            cp932::PlainTrim(f.ReadString(kSupportSection, "Mail", ""))};
}

std::string SupportMailText(std::string_view address) {
    static const std::string subject = cp932::FromUtf8("subject=tavoへの問い合わせ&");
    std::string text = "mailto:";
    text += address;
    text += "?";
    text += subject;
    text += "cc=&";
    text += "bcc=&";
    return text;
}
