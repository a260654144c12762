#include "app/SlipCounterFile.h"

#include "platform/ProfileFile.h"
#include "print/PrinterRegistration.h"

tracking::StoredSlipCounter ReadSlipCounter(const std::string& dir, const std::string& slipType) {
    return tracking::ReadNextSlipNo(ProfileFile(RegistrationFilePath(dir)), slipType);
}

void SaveSlipCounter(const std::string& dir, const std::string& slipType, const std::string& number) {
    ProfileFile file(RegistrationFilePath(dir));
    tracking::WriteNextSlipNo(file, slipType, number);
    file.Save();
}
