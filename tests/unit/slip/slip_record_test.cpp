// The one table of the slip's fields: every reader and writer of a slip walks it, so a row that points
// at the wrong member, shares a name or a settings key, or has a key on a check box breaks them all.
#include "platform/Cp932.h"
#include "slip/ChangedFields.h"
#include "slip/SampleSlip.h"
#include "slip/SlipRecord.h"
#include "slip/SlipStock.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <vector>

namespace {

// Marks one field of a fresh record, so that only that row's member differs from a fresh one.
slip::Record Marked(const slip::Field& f) {
    slip::Record r;
    if (f.flag)
        r.*f.flag = !(r.*f.flag);
    else
        r.*f.text = "marked";
    return r;
}

bool Differs(const slip::Record& a, const slip::Record& b, const slip::Field& f) {
    return f.flag ? a.*f.flag != b.*f.flag : a.*f.text != b.*f.text;
}

} // namespace

TEST(SlipRecord, EveryRowOwnsOneMemberAndOneName) {
    std::set<std::string> names, captions;
    for (const slip::Field& f : slip::kFields) {
        EXPECT_TRUE(names.insert(f.name).second) << f.name;
        EXPECT_TRUE(f.caption && *f.caption && captions.insert(f.caption).second) << f.name;
        EXPECT_EQ(f.flag != nullptr, f.kind == slip::Kind::Flag) << f.name;
        EXPECT_EQ(f.text != nullptr, f.kind != slip::Kind::Flag) << f.name;
        const slip::Record marked = Marked(f);
        EXPECT_NE(marked, slip::Record{}) << f.name;
        for (const slip::Field& other : slip::kFields)
            if (&other != &f)
                EXPECT_FALSE(Differs(marked, slip::Record{}, other)) << f.name << " / " << other.name;
    }
}

TEST(SlipRecord, SettingsKeysAreTextsWithDistinctKeysAndPlaces) {
    std::vector<std::string> keys;
    std::vector<int> places;
    for (const slip::Field& f : slip::kFields) {
        if (!f.settingsKey) {
            EXPECT_EQ(f.settingsPlace, 0) << f.name;
            continue;
        }
        EXPECT_NE(f.kind, slip::Kind::Flag) << f.name;
        ASSERT_NE(f.settingsDefault, nullptr) << f.name;
        // Profile keys match without letter case.
        for (const std::string& other : keys)
            EXPECT_FALSE(cp932::EqualsIgnoreAsciiCase(other, f.settingsKey)) << f.settingsKey;
        keys.push_back(f.settingsKey);
        places.push_back(f.settingsPlace);
    }
    std::sort(places.begin(), places.end());
    for (std::size_t i = 0; i < places.size(); ++i)
        EXPECT_EQ(places[i], static_cast<int>(i) + 1);
}

TEST(SlipRecord, FieldsAreFoundByTheirDesignNameOnly) {
    for (const slip::Field& f : slip::kFields)
        EXPECT_EQ(slip::FindField(f.name), &f);
    EXPECT_EQ(slip::FindField("edit_zip"), nullptr);
    EXPECT_EQ(slip::FindField("Label_dpix"), nullptr);
    EXPECT_EQ(slip::FindField(""), nullptr);
}

TEST(SlipRecord, TheSampleFillsEveryFieldButTheStock) {
    const slip::Record sample = slip::SampleSlip();
    for (const slip::Field& f : slip::kFields) {
        if (f.kind == slip::Kind::Stock)
            EXPECT_TRUE((sample.*f.text).empty());
        else if (f.text)
            EXPECT_FALSE((sample.*f.text).empty()) << f.name;
    }
}

TEST(SlipStock, EachStockIsFoundByItsNameAndNothingElse) {
    std::set<std::string> names;
    for (slip::Stock s : slip::kStocks) {
        EXPECT_EQ(slip::StockNamed(slip::StockName(s)), s);
        EXPECT_TRUE(names.insert(slip::StockName(s)).second);
        EXPECT_EQ(static_cast<std::size_t>(s), names.size() - 1); // the list's order is the enum's
    }
    for (const char* other : {"", "?", "手差し"}) // the last one is UTF-8, not the CP932 name
        EXPECT_EQ(slip::StockNamed(other), std::nullopt) << other;
}

TEST(SlipRecord, ChangedFieldsAreThoseTheFillerFilledThatDifferNow) {
    const slip::Record filled = slip::SampleSlip();
    const struct {
        const char* what;
        void (*edit)(slip::Record&);
        std::vector<std::string> changed;
    } cases[] = {
        {"nothing", [](slip::Record&) {}, {}},
        {"the name", [](slip::Record& r) { r.Edit_Custo1 += "X"; }, {"Edit_Custo1"}},
        {"several, a check box among them",
         [](slip::Record& r) {
             r.KyNumEdit_PriceSub = "0";
             r.CheckBox_p1 = !r.CheckBox_p1;
             r.Edit_G2.clear();
         },
         {"Edit_G2", "KyNumEdit_PriceSub", "CheckBox_p1"}},
        {"what the order does not fill",
         [](slip::Record& r) {
             r.Edit_My += "X";
             r.KyNumEdit_TaxSub = "1";
             r.DateTimePicker_1 = "2030/01/01";
         },
         {}},
    };
    for (const auto& c : cases) {
        slip::Record now = filled;
        c.edit(now);
        EXPECT_EQ(slip::ChangedFields(filled, now, slip::kOrder), c.changed) << c.what;
    }
    slip::Record moved = filled;
    moved.Edit_G1 += "X";
    EXPECT_EQ(slip::ChangedFields(filled, moved, slip::kTransfer),
              std::vector<std::string>{}); // not its field
}
