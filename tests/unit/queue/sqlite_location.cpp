// The shared queue's tests on SQLite: each store a new file in a folder of its own.
#include "QueueUnderTest.h"
#include "unit/support/TempDir.h"

#include <list>

history::StoreLocation FreshQueueLocation() {
    static std::list<TempDir> dirs; // removed when the program ends
    return history::LocationFromArgument(dirs.emplace_back().File("tavo_Zaridi2.db"));
}
