// orders load|claim|done|status: the order queue the desks share in the store, from outside. --db takes
// what `history` takes: an SQLite file or a postgresql:// URI.
#include "Probe.h"

#include "history/QueueStore.h"
#include "orders/OrderQueue.h"
#include "orders/StoredOrder.h"
#include "platform/Cp932Codec.h"
#include "queue/StorePrintedRecord.h"
#include "queue/StoreQueueStates.h"

#include <charconv>
#include <chrono>
#include <iostream>
#include <thread>

namespace probe {
namespace {

const char* const kUsage =
    "orders load --db DB FILE [--mapping INI] | orders claim --db DB --desk NAME [--hold SECONDS] | "
    "orders done --db DB --desk NAME ID --tracking NUMBER | orders status --db DB";

// A whole number from 0 up, or a usage error.
std::int64_t Count(const std::string& text) {
    std::int64_t n = 0;
    auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), n);
    if (ec != std::errc() || end != text.data() + text.size() || n < 0) throw UsageError{kUsage};
    return n;
}

struct Options {
    std::string db, desk, mapping, tracking, hold;
    std::vector<std::string> positional;
};

Options Parse(const Args& a) {
    Options o;
    for (std::size_t i = 1; i < a.size(); ++i) {
        auto value = [&](std::string& to) {
            if (i + 1 >= a.size()) throw UsageError{kUsage};
            to = a[++i];
        };
        if (a[i] == "--db")
            value(o.db);
        else if (a[i] == "--desk")
            value(o.desk);
        else if (a[i] == "--mapping")
            value(o.mapping);
        else if (a[i] == "--tracking")
            value(o.tracking);
        else if (a[i] == "--hold")
            value(o.hold);
        else if (a[i].rfind("--", 0) == 0)
            throw UsageError{kUsage};
        else
            o.positional.push_back(a[i]);
    }
    if (o.db.empty()) throw UsageError{kUsage};
    return o;
}

int Load(history::Store& store, const Options& o) {
    if (o.positional.size() != 1 || !o.desk.empty() || !o.tracking.empty() || !o.hold.empty())
        throw UsageError{kUsage};
    orders::ImportOptions options;
    options.mappingIni = o.mapping;
    std::vector<orders::Order> list = orders::ImportOrders(o.positional[0], options).orders;
    // As the window's import: orders the history has printed start held.
    queue::StorePrintedRecord record([&store]() -> history::Store& { return store; });
    const std::vector<orders::OrderState> start = orders::StartStates(list, &record);
    const auto added = history::QueueStore(store).Add(queue::NewEntries(list, start));
    std::cout << "{\"added\": " << added.added << ", \"already\": " << added.already << "}\n";
    return 0;
}

int Claim(history::Store& store, const Options& o) {
    if (o.desk.empty() || !o.positional.empty() || !o.mapping.empty() || !o.tracking.empty())
        throw UsageError{kUsage};
    const std::int64_t hold = o.hold.empty() ? 0 : Count(o.hold);
    history::QueueStore queue(store);
    std::optional<history::QueueEntry> e = queue.ClaimNext(cp932::FromUtf8(o.desk));
    std::string out;
    if (e)
        AppendOrderJson(out, orders::OrderFromText(e->data), e->id);
    else
        out = "null";
    std::cout << out << "\n" << std::flush;
    // The claim lives as long as this connection: a test holds it open. Given back on the way out,
    // so that it has ended when the process has, not a moment later when the server notices.
    if (e && hold > 0) std::this_thread::sleep_for(std::chrono::seconds(hold));
    if (e) queue.Release(e->id);
    return 0;
}

int Done(history::Store& store, const Options& o) {
    if (o.desk.empty() || o.positional.size() != 1 || o.tracking.empty() || !o.mapping.empty() ||
        !o.hold.empty())
        throw UsageError{kUsage};
    const std::int64_t id = Count(o.positional[0]);
    history::QueueStore queue(store);
    std::optional<history::QueueEntry> e = queue.Get(id);
    if (!e) {
        std::cerr << "注文 No." << id << " は共有の注文一覧にありません\n";
        return 1;
    }
    // The slip as `history record` would store it: the order's fields, its reference, platform and IDs,
    // the number.
    const orders::Order order = orders::OrderFromText(e->data);
    history::HistoryRecord r;
    r.values = orders::FieldsForSlip(order.fields);
    r.order = cp932::FromUtf8(order.ref);
    r.platform = std::string(orders::PlatformName(order.platform));
    for (const auto& [name, value] : order.refs)
        r.refs[cp932::FromUtf8(name)] = cp932::FromUtf8(value);
    r.tracking = cp932::FromUtf8(o.tracking);
    std::cout << queue.Done(id, cp932::FromUtf8(o.desk), r) << "\n";
    return 0;
}

int Status(history::Store& store, const Options& o) {
    if (!o.positional.empty() || !o.desk.empty() || !o.mapping.empty() || !o.tracking.empty() ||
        !o.hold.empty())
        throw UsageError{kUsage};
    const history::QueueCounts c = history::QueueStore(store).Count();
    std::cout << "{\"open\": " << c.open << ", \"claimed\": " << c.claimed << ", \"printed\": " << c.printed
              << ", \"held\": " << c.held << "}\n";
    return 0;
}

} // namespace

int OrderQueue(const Args& a) {
    if (a.empty()) throw UsageError{kUsage};
    const Options o = Parse(a);
    int (*run)(history::Store&, const Options&) = a[0] == "load"     ? Load
                                                  : a[0] == "claim"  ? Claim
                                                  : a[0] == "done"   ? Done
                                                  : a[0] == "status" ? Status
                                                                     : nullptr;
    if (!run) throw UsageError{kUsage};
    auto store = history::OpenStore(history::LocationFromArgument(o.db));
    return run(*store, o);
}

} // namespace probe
