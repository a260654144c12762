// libpq and what it brings are a library of their own (libzaridi_pq.so, platform/LateLibrary.h), loaded
// when a history on a server is first opened: a desk on the local file never loads them.
#include "history/HistoryStore.h"
#include "history/SqlDb.h"
#include "platform/Cp932Codec.h"
#include "platform/LateLibrary.h"

namespace history {

std::unique_ptr<SqlDb> OpenPostgres(const PgParams& params) {
    using OpenFn = SqlDb* (*)(const PgParams&);
    std::string error;
    auto open = late_library::Entry<OpenFn>(late_library::kPostgres, "ZaridiOpenPostgres", &error);
    if (!open)
        throw EHistoryStore(EHistoryStore::Kind::Unavailable,
                            cp932::FromUtf8("履歴サーバーにつなぐ部品を読み込めません: " + error));
    return std::unique_ptr<SqlDb>(open(params));
}

} // namespace history
