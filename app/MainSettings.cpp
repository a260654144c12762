#include "app/MainSettings.h"

#include "platform/FileIO.h"
#include "platform/ProfileFile.h"

std::string SettingsFilePath(const std::string& dir) {
    return fileio::JoinPath(dir, kSettingsFileName);
}

MainSettings ReadMainSettings(const ProfileFile& f) {
    const char* sec = kSettingsSection;
    MainSettings s;
    s.TabMy = f.ReadInteger(sec, "Tab_My", 0);
    s.AddrFont = f.ReadInteger(sec, "Addr_Font", 1);
    s.My = f.ReadString(sec, "OP023My", "");
    s.MyZip = f.ReadString(sec, "OP023MyZip", "");
    s.MyADD1 = f.ReadString(sec, "OP023MyADD1", "");
    s.MyADD2 = f.ReadString(sec, "OP023MyADD2", "");
    s.MyTEL = f.ReadString(sec, "OP023MyTEL", "");
    s.Zip = f.ReadString(sec, "E_ZIP", "");
    s.Add1 = f.ReadString(sec, "E_AD1", "");
    s.Add2 = f.ReadString(sec, "E_AD2", "");
    s.Custo1 = f.ReadString(sec, "E_CUS", "");
    s.Tel = f.ReadString(sec, "E_TEL", "");
    s.G1 = f.ReadString(sec, "E_G1", "");
    s.G2 = f.ReadString(sec, "E_G2", "");
    s.G3 = f.ReadString(sec, "E_G3", "");
    s.Kosuu = f.ReadString(sec, "KOSUU", "1");
    s.ComboSel = f.ReadInteger(sec, "ComboBox_SEL", 0);
    return s;
}

void WriteMainSettings(ProfileFile& f, const MainSettings& s) {
    const char* sec = kSettingsSection;
    f.WriteInteger(sec, "Addr_Font", s.AddrFont);
    f.WriteString(sec, "E_ZIP", s.Zip);
    f.WriteString(sec, "E_AD1", s.Add1);
    f.WriteString(sec, "E_AD2", s.Add2);
    f.WriteString(sec, "E_CUS", s.Custo1);
    f.WriteString(sec, "E_TEL", s.Tel);
    f.WriteString(sec, "E_G1", s.G1);
    f.WriteString(sec, "E_G2", s.G2);
    f.WriteString(sec, "E_G3", s.G3);
    f.WriteString(sec, "KOSUU", s.Kosuu);
    f.WriteString(sec, "OP023My", s.My);
    f.WriteString(sec, "OP023MyZip", s.MyZip);
    f.WriteString(sec, "OP023MyADD1", s.MyADD1);
    f.WriteString(sec, "OP023MyADD2", s.MyADD2);
    f.WriteString(sec, "OP023MyTEL", s.MyTEL);
    f.WriteInteger(sec, "ComboBox_SEL", s.ComboSel);
    f.WriteInteger(sec, "Tab_My", s.TabMy);
}
