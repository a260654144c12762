// HOOK: `tavo_Zaridi2 --import-postcodes FILE…`. The command line reaches this one function; the import
// itself replaces its body.
#include "app/qt/CommandLine.h"

#include <cstdio>

int ImportPostcodesCommand(const QStringList& files) {
    (void)files;
    std::fputs("tavo_Zaridi2: postcode import is not available in this build\n", stderr);
    return 1;
}
