// zaridi-probe: a command-line window onto the program's rules, for support and black-box tests.
#include "Probe.h"

#include "platform/Cp932Codec.h"
#include "platform/RuntimeErrors.h"
#include "transfer/Transfer.h"

#include <QGuiApplication>

#include <cstring>
#include <iostream>
#include <iterator>
#include <limits>
#include <memory>

namespace {

struct Command {
    const char* name;
    int (*run)(const probe::Args&);
    const char* usage;
};

const Command kCommands[] = {
    {"ini", probe::Ini, "ini get|getint FILE SECTION KEY DEFAULT | ini set FILE SECTION KEY VALUE"},
    {"cp932", probe::Cp932Hex, "cp932 < lines   (CP932 bytes of each line in hex)"},
    {"layout", probe::Layout, "layout < {\"fields\": {...}}   (the slip's draws in device dots)"},
    {"escp", probe::Escp,
     "escp < {\"fields\": {...}} > slip.prn   (the bytes of the slip in text mode at 180 dpi; errors on "
     "stderr)"},
    {"preview", probe::Preview,
     "preview --out FILE.png [--outlines] < {\"fields\": {...}, \"paper\": [W, H], \"origin\": [X, Y]}"},
    {"tax", probe::Tax,
     "tax AMOUNT [RATE]   (the contained tax the amount's tax field shows; RATE in percent, default 10)"},
    {"printers", probe::Printers, "printers [--index N]   (the printer object's view of the printers, JSON)"},
    {"numedit", probe::NumEdit, "numedit < request.json   (numeric field: settings, text, keys -> state)"},
    {"fold", probe::Fold, "fold < lines   (each line folded to half-width)"},
    {"count", probe::Count, "count PATTERN < lines   (occurrences of PATTERN in each line)"},
    {"classify", probe::Classify, "classify < lines   (postcode, phone or neither)"},
    {"judge", probe::Judge, "judge < lines   (prefecture, address or name)"},
    {"strip", probe::Strip, "strip < memo   (the seven lines after heading-word stripping)"},
    {"compact", probe::CompactMemo, "compact < memo   (the memo's lines after compaction)"},
    {"split", probe::Split, "split < memo   (the seven lines after one-line splitting)"},
    {"transfer", probe::Transfer,
     "transfer < {\"memo\": TEXT, \"fields\": {\"Edit_Zip\": ...}}   (JSON out)"},
    {"orders", probe::Orders,
     "orders import FILE [--mapping INI]   (the file's orders and their fields, JSON) | "
     "orders load --db DB FILE [--mapping INI] | orders claim --db DB --desk NAME [--hold SECONDS] | "
     "orders done --db DB --desk NAME ID --tracking NUMBER | orders status --db DB   (the shared queue)"},
    {"history", probe::History,
     "history list --db FILE|postgresql://URI [--since yyyy-MM-dd] | history record --db ... < json | "
     "history shipped --db ... --format generic|rakuten|amazon [--from yyyy-MM-dd] [--to yyyy-MM-dd]"},
    {"postcode", probe::Postcode,
     "postcode lookup|check|find|info [--data INDEX] < lines | postcode import --data INDEX FILE..."},
    {"tracking", probe::Tracking,
     "tracking check < lines   (each slip number's kind and check, JSON) | tracking next NUMBER [COUNT]"},
};

int Usage() {
    std::cerr << "usage: zaridi-probe COMMAND ...\n";
    for (const Command& c : kCommands)
        std::cerr << "  " << c.usage << "\n";
    return 2;
}

} // namespace

namespace probe {

std::string ReadStdin() {
    return std::string(std::istreambuf_iterator<char>(std::cin), std::istreambuf_iterator<char>());
}

std::string HexBytes(const std::string& bytes, const char* separator) {
    static const char digits[] = "0123456789ABCDEF";
    std::string out;
    for (unsigned char b : bytes) {
        if (!out.empty()) out += separator;
        out += digits[b >> 4];
        out += digits[b & 0xF];
    }
    return out;
}

std::vector<std::string> SplitLines(const std::string& text) {
    return FirstMemoLines(text, std::numeric_limits<std::size_t>::max());
}

void EnsureGuiApplication() {
    if (QCoreApplication::instance()) return;
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    static int argc = 1;
    static char name[] = "zaridi-probe";
    static char* argv[] = {name, nullptr};
    static std::unique_ptr<QGuiApplication> app = std::make_unique<QGuiApplication>(argc, argv);
}

} // namespace probe

int main(int argc, char** argv) {
    std::ios::sync_with_stdio(false);
    if (argc < 2) return Usage();
    probe::Args args(argv + 2, argv + argc);
    for (const Command& c : kCommands) {
        if (std::strcmp(c.name, argv[1]) != 0) continue;
        try {
            int rc = c.run(args);
            std::cout.flush();
            return rc;
        } catch (const probe::UsageError& e) {
            std::cerr << "usage: zaridi-probe " << e.text << "\n";
            return 2;
        } catch (const Exception& e) {
            std::cerr << cp932::ToUtf8(e.Message()) << "\n";
            return 1;
        } catch (const std::exception& e) {
            std::cerr << e.what() << "\n";
            return 1;
        }
    }
    return Usage();
}
