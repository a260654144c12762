#include "tracking/SlipNumber.h"
#include "unit/support/Sjis.h"

#include <gtest/gtest.h>

#include <random>
#include <set>

using namespace tracking;

namespace {

constexpr auto kDomestic = SlipNumberKind::Domestic;
constexpr auto kRegistered = SlipNumberKind::Registered;
constexpr auto kS10 = SlipNumberKind::International;
constexpr auto kUnknown = SlipNumberKind::Unknown;

// The published numbers of docs/tracking.md, and misreads of them.
TEST(TrackingNumber, PublishedExamplesAndMisreads) {
    const struct {
        const char* text;
        SlipNumberKind kind;
        bool valid;
    } cases[] = {
        {"444413758703", kDomestic, true},  {"512547514334", kDomestic, true},
        {"405548424886", kDomestic, true},  {"123456789013", kDomestic, true},
        {"200961185434", kDomestic, true},  {"400012345672", kDomestic, false},
        {"512547514337", kDomestic, false}, // 7, 8 and 9 never end one
        {"13112383852", kRegistered, true}, {"13112383853", kRegistered, false},
        {"EE473124829JP", kS10, true},      {"EB000717618HK", kS10, true},
        {"EB000717595HK", kS10, true}, // remainder 6: 5
        {"RR966331020JP", kS10, true}, // remainder 1: 10 gives 0
        {"RR000000005JP", kS10, true}, // remainder 0: 11 gives 5
        {"RR000717581JP", kS10, true},      {"RR761294038JP", kS10, true},
        {"EB000717594HK", kS10, false},     {"EB000717535HK", kS10, false},
        {"EB900717618HK", kS10, false},     {"4000123456", kUnknown, false}, // a 10-digit misread
    };
    for (const auto& c : cases) {
        const SlipNumber n = ReadSlipNumber(c.text);
        EXPECT_EQ(n.kind, c.kind) << c.text;
        EXPECT_EQ(n.valid, c.valid) << c.text;
        EXPECT_EQ(n.number, c.kind == kUnknown ? "" : c.text) << c.text;
    }
}

TEST(TrackingNumber, FoldingKeepsDigitsAndLettersAndDropsOnlySpacesAndHyphens) {
    const struct {
        const char* text;
        const char* number; // nullptr: no known shape
    } cases[] = {
        {"5125-4751-4334", "512547514334"},
        {"５１２５－４７５１－４３３４", "512547514334"},
        {" 5125 4751　4334　", "512547514334"},
        {"ee473124829jp", "EE473124829JP"},
        {"ｅｅ４７３１２４８２９ＪＰ", "EE473124829JP"},
        {"131-12-38385-2", "13112383852"},
        {"5125ー4751ー4334", nullptr}, // the long-vowel mark is no hyphen
        {"5125‐4751‐4334", nullptr},   // nor the hyphen of the kanji set
        {"5125\t4751\t4334", nullptr},
        {"512547514334。", nullptr},
        {"陰12547514334", nullptr}, // its trail byte is "A"
        {"ｱ12547514334", nullptr},
        {"5125475143345", nullptr},
        {"E1473124829JP", nullptr},
        {"EE47312482JP", nullptr},
        {"", nullptr},
    };
    for (const auto& c : cases) {
        const SlipNumber n = ReadSlipNumber(Cp932FromUtf8(c.text));
        EXPECT_EQ(n.number, c.number ? c.number : "") << c.text;
        EXPECT_EQ(n.kind != kUnknown, c.number != nullptr) << c.text;
    }
}

TEST(TrackingNumber, AnEntryIsTakenRefusedOrConfirmed) {
    const struct {
        const char* text;
        SlipEntry::Verdict verdict;
        const char* stored;
    } cases[] = {
        {"", SlipEntry::Empty, ""},
        {" 　-", SlipEntry::Empty, ""},
        {"５１２５－４７５１－４３３４", SlipEntry::Take, "512547514334"},
        {"400012345672", SlipEntry::Refuse, "400012345672"},
        {"ee473124828jp", SlipEntry::Refuse, "EE473124828JP"},
        {" 1Z-999 ", SlipEntry::Confirm, "1Z-999"},
        {"　ＡＢ１２３　", SlipEntry::Confirm, "ＡＢ１２３"},
    };
    for (const auto& c : cases) {
        const SlipEntry e = CheckSlipEntry(Cp932FromUtf8(c.text));
        EXPECT_EQ(e.verdict, c.verdict) << c.text;
        EXPECT_EQ(e.number, Cp932FromUtf8(c.stored)) << c.text;
    }
    EXPECT_EQ(WrongCheckDigitMessage(), Cp932FromUtf8("送り状番号が正しくありません（確認数字）"));
}

TEST(TrackingStack, RunsOnTheFirstElevenDigits) {
    std::vector<std::string> run{"512547514334"};
    while (run.size() < 5)
        run.push_back(NextInStack(run.back()).value_or("none"));
    EXPECT_EQ(run, (std::vector<std::string>{"512547514334", "512547514345", "512547514356", "512547514360",
                                             "512547514371"}));
    EXPECT_EQ(NextInStack("000000000092"), "000000000103"); // 9 -> 10 carries
    EXPECT_EQ(NextInStack("5125-4751-4334"), "512547514345");
    EXPECT_EQ(NextInStack("999999999994"), std::nullopt); // the range's last
    EXPECT_EQ(NextInStack("512547514335"), std::nullopt);
    EXPECT_EQ(NextInStack("13112383852"), std::nullopt);
}

// Every single-digit error and neighbour swap of generated numbers, against what each rule cannot see.
// Mod 7: 10 and 7 are coprime, so a change to the body moves the remainder unless it is a multiple of
// 7: one digit changed by 7, or two neighbours differing by 7 swapped (the change is 9 * (b - a) * 10^k).
// A wrong check digit is always seen: the body decides it. S10: the weights tell every change of the
// serial apart modulo 11, but remainders 0 and 6 both give 5, so a change between them is unseen; and
// the swap of the last serial digit (a) with the check digit is unseen for remainder r exactly when
// (r, a) is one of (0, 4), (1, 2), (7, 5), (9, 0), worked out from the rule by hand.
struct Mutation {
    std::string number;
    std::size_t at; // first position changed
    bool swap;      // with the next position
};

std::vector<Mutation> Mutations(const std::string& number, std::size_t from, std::size_t to) {
    std::vector<Mutation> out;
    for (std::size_t i = from; i < to; ++i) {
        for (char d = '0'; d <= '9'; ++d) {
            if (d == number[i]) continue;
            std::string m = number;
            m[i] = d;
            out.push_back({m, i, false});
        }
        if (i + 1 < to && number[i] != number[i + 1]) {
            std::string m = number;
            std::swap(m[i], m[i + 1]);
            out.push_back({m, i, true});
        }
    }
    return out;
}

std::string RandomDigits(std::mt19937_64& random, int count) {
    std::string s;
    for (int i = 0; i < count; ++i)
        s += static_cast<char>('0' + random() % 10);
    return s;
}

TEST(TrackingSweep, Mod7SeesEveryErrorButChangesBySeven) {
    std::mt19937_64 random(24);
    for (const int length : {12, 11}) {
        int unseen = 0;
        for (int i = 0; i < 3000; ++i) {
            const std::string body = RandomDigits(random, length - 1);
            const std::string number = body + static_cast<char>('0' + std::stoull(body) % 7);
            ASSERT_TRUE(ReadSlipNumber(number).valid) << number;
            for (const Mutation& m : Mutations(number, 0, length)) {
                const std::size_t last = m.swap ? m.at + 1 : m.at;
                const int a = number[m.at] - '0';
                const int b = m.swap ? number[last] - '0' : m.number[m.at] - '0';
                const bool blind = last < std::size_t(length - 1) && std::abs(a - b) == 7;
                EXPECT_EQ(ReadSlipNumber(m.number).valid, blind) << number << " -> " << m.number;
                unseen += blind;
            }
        }
        EXPECT_GT(unseen, 0) << length;
    }
}

TEST(TrackingSweep, S10SeesEveryErrorButItsTwoBlindSpots) {
    static const int kWeights[8] = {8, 6, 4, 2, 3, 5, 9, 7}; // the standard's, for the remainders
    const auto remainder = [](const std::string& digits) {
        int sum = 0;
        for (int i = 0; i < 8; ++i)
            sum += (digits[i] - '0') * kWeights[i];
        return sum % 11;
    };
    const std::set<std::pair<int, int>> swapBlind{{0, 4}, {1, 2}, {7, 5}, {9, 0}};
    std::mt19937_64 random(10);
    int unseen = 0;
    for (int i = 0; i < 3000; ++i) {
        const std::string serial = RandomDigits(random, 8);
        const std::string digits = serial + S10CheckDigit(serial);
        ASSERT_TRUE(ReadSlipNumber("RR" + digits + "JP").valid) << digits;
        const int r = remainder(digits);
        for (const Mutation& m : Mutations(digits, 0, 9)) {
            bool blind;
            if (m.swap && m.at == 7)
                blind = swapBlind.count({r, digits[7] - '0'}) > 0;
            else
                blind = m.at < 8 && std::set<int>{r, remainder(m.number)} == std::set<int>{0, 6};
            EXPECT_EQ(ReadSlipNumber("RR" + m.number + "JP").valid, blind) << digits << " -> " << m.number;
            unseen += blind;
        }
    }
    EXPECT_GT(unseen, 0);
}

} // namespace
