#pragma once
// The settings file tavo_Zaridi2.ini: what the main window keeps between runs, its keys and defaults.
#include "print/CashOnDelivery.h"
#include "slip/SlipRecord.h"

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
    std::int32_t ComboSel = 0; // slip stock index
    // The consumption tax rate in whole percent (TaxRate): what the contained tax is worked out at. A
    // missing key or a value that is not a rate from 0 to 100 reads as the standard rate.
    int TaxRate = kDefaultTaxRate;
    // The slip's fields that have a settings key (slip::Field::settingsKey); the others are not read
    // or written.
    slip::Record values = KeptDefaults();

    // A record of the settings defaults of the kept fields.
    static slip::Record KeptDefaults();
};

// `dir` is the working directory the window recorded at its first showing.
std::string SettingsFilePath(const std::string& dir);

// Missing file, section or key, and integers that do not parse, give the defaults.
MainSettings ReadMainSettings(const ProfileFile& file);

// Puts every key into `file` in the order the file has always been written in (so a new file lists
// them in that order); the caller saves it in one go.
void WriteMainSettings(ProfileFile& file, const MainSettings& s);
