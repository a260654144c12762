// `tavo_Zaridi2 --import-postcodes FILE…`: the user's own refresh of the postcode data. The new index
// goes beside the settings of the current folder, where the window looks first.
#include "app/qt/start/CommandLine.h"
#include "platform/Cp932Codec.h"
#include "platform/FileIO.h"
#include "platform/qt/QtText.h"
#include "postcode/Import.h"
#include "postcode/Index.h"

#include <QDir>
#include <filesystem>
#include <iostream>
#include <string>
#include <unistd.h>

namespace {

// No application object exists yet to tell the program's folder.
std::string ProgramDir() {
    std::error_code ec;
    return std::filesystem::read_symlink("/proc/self/exe", ec).parent_path().string();
}

} // namespace

int ImportPostcodesCommand(const QStringList& files, bool allowShrink) {
    std::vector<std::string> paths;
    for (const QString& file : files)
        paths.push_back(NativePath(file));
    const std::string settingsDir = NativePath(QDir::currentPath());
    // The index in use gives the kind of rows that no file brings.
    const std::string inUse = postcode::ChooseIndexPath(settingsDir, ProgramDir());
    // A shrink is asked about on a terminal; a script says beforehand.
    auto confirm = [allowShrink](const std::string& question) {
        if (allowShrink) return true;
        if (!::isatty(STDIN_FILENO)) {
            std::cerr << cp932::ToUtf8(question) << "\n"
                      << "置き換えるには --allow-shrink を付けてください\n";
            return false;
        }
        std::cerr << cp932::ToUtf8(question) << "\n"
                  << "置き換えますか？ [y/N] " << std::flush;
        std::string answer;
        std::getline(std::cin, answer);
        return !answer.empty() && (answer[0] == 'y' || answer[0] == 'Y');
    };
    return postcode::RunImportPostcodes(paths, fileio::JoinPath(settingsDir, postcode::kIndexFileName), inUse,
                                        std::cout, std::cerr, confirm);
}
