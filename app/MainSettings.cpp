#include "app/MainSettings.h"

#include "platform/FileIO.h"
#include "platform/ProfileFile.h"

#include <algorithm>
#include <vector>

namespace {

// The kept fields in the order a new file lists them.
std::vector<const slip::Field*> KeptInFileOrder() {
    std::vector<const slip::Field*> kept;
    for (const slip::Field& f : slip::kFields)
        if (f.settingsKey) kept.push_back(&f);
    std::sort(kept.begin(), kept.end(),
              [](const slip::Field* a, const slip::Field* b) { return a->settingsPlace < b->settingsPlace; });
    return kept;
}

} // namespace

slip::Record MainSettings::KeptDefaults() {
    slip::Record r;
    for (const slip::Field& f : slip::kFields)
        if (f.settingsKey) r.*f.text = f.settingsDefault;
    return r;
}

std::string SettingsFilePath(const std::string& dir) {
    return fileio::JoinPath(dir, kSettingsFileName);
}

MainSettings ReadMainSettings(const ProfileFile& f) {
    const char* sec = kSettingsSection;
    MainSettings s;
    s.TabMy = f.ReadInteger(sec, "Tab_My", 0);
    s.AddrFont = f.ReadInteger(sec, "Addr_Font", 1);
    for (const slip::Field* field : KeptInFileOrder())
        s.values.*field->text = f.ReadString(sec, field->settingsKey, field->settingsDefault);
    s.ComboSel = f.ReadInteger(sec, "ComboBox_SEL", 0);
    s.TaxRate = ParseTaxRate(f.ReadString(sec, "TaxRate", "")).value_or(kDefaultTaxRate);
    return s;
}

void WriteMainSettings(ProfileFile& f, const MainSettings& s) {
    const char* sec = kSettingsSection;
    f.WriteInteger(sec, "Addr_Font", s.AddrFont);
    for (const slip::Field* field : KeptInFileOrder())
        f.WriteString(sec, field->settingsKey, s.values.*field->text);
    f.WriteInteger(sec, "ComboBox_SEL", s.ComboSel);
    f.WriteInteger(sec, "Tab_My", s.TabMy);
    f.WriteInteger(sec, "TaxRate", s.TaxRate);
}
