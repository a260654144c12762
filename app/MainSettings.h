#pragma once
// The settings file tavo_Zaridi2.ini: what the main window keeps between runs, its keys and defaults.
#include <cstdint>
#include <string>

class ProfileFile;

inline constexpr const char* kSettingsFileName = "tavo_Zaridi2.ini";
inline constexpr const char* kSettingsSection = "tv_SAGAWAprn";
// The F7 printer choice: its index among the visible printers (what older versions read) and its name
// (what says which printer it is when printers have come or gone since).
inline constexpr const char* kPrinterChoiceKey = "ZaRIDI2prnno";
inline constexpr const char* kPrinterChoiceNameKey = "ZaRIDI2prnName";

struct MainSettings {
    std::int32_t TabMy = 0;    // sender tab index
    std::int32_t AddrFont = 1; // item of the hidden font-size list
    std::string My, MyZip, MyADD1, MyADD2, MyTEL;
    std::string Zip, Add1, Add2, Custo1, Tel;
    std::string G1, G2, G3;
    std::string Kosuu = "1";
    std::int32_t ComboSel = 0; // slip type index
};

// `dir` is the working directory the window recorded at its first showing.
std::string SettingsFilePath(const std::string& dir);

// Missing file, section or key, and integers that do not parse, give the defaults above.
MainSettings ReadMainSettings(const ProfileFile& file);

// Puts every key into `file` in the order the file has always been written in (so a new file lists
// them in that order); the caller saves it in one go.
void WriteMainSettings(ProfileFile& file, const MainSettings& s);
