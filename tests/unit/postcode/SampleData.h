#pragma once
// A small hand-made postcode data set: each tolerance of the check, codes with several towns, business
// codes, towns limited to chōme, empty towns and a code in two prefectures.
#include "postcode/Index.h"
#include "postcode/IndexBuilder.h"
#include "postcode/IndexFormat.h"
#include "unit/support/Sjis.h"
#include "unit/support/TempDir.h"

#include <cstring>
#include <memory>
#include <string>

struct SampleRow {
    const char *code, *pref, *city, *town, *street = "", *office = "", *chome = "";
};

inline const SampleRow kSampleRows[] = {
    {"5300001", "大阪府", "大阪市北区", "梅田"},
    {"5300000", "大阪府", "大阪市北区", ""},
    {"0600042", "北海道", "札幌市中央区", "大通西", "", "", "1-19"},
    {"0640820", "北海道", "札幌市中央区", "大通西", "", "", "20-28"},
    {"0600000", "北海道", "札幌市中央区", ""},
    {"0010000", "北海道", "札幌市北区", ""},
    {"0017777", "北海道", "札幌市北区", "北二十九条西"},
    {"0040805", "北海道", "札幌市清田区", "里塚緑ケ丘"},
    {"9990001", "秋田県", "大仙市", "大字小川"},
    {"9990002", "秋田県", "大仙市", "中野"},
    {"6020837", "京都府", "京都市上京区", "下塔之段町"},
    {"9990003", "北海道", "札幌市東区", "東十二丁目"},
    {"6008023", "京都府", "京都市下京区", "富永町"},
    {"6008351", "京都府", "京都市下京区", "富永町"},
    {"4520961", "愛知県", "清須市", "春日明河原"},
    {"4520961", "愛知県", "清須市", "春日一番割"},
    {"4520961", "愛知県", "清須市", "春日壱屋敷"},
    {"4980000", "愛知県", "弥富市", ""},
    {"4980000", "三重県", "桑名郡木曽岬町", ""},
    {"1000004", "東京都", "千代田区", "大手町"},
    {"1008370", "東京都", "千代田区", "大手町", "２丁目６番４号", "古河運輸　株式会社"},
    {"1008370", "東京都", "千代田区", "大手町", "２丁目６番４号", "古河機械金属　株式会社"},
};

// Writes the sample index into `dir` and opens it.
inline std::unique_ptr<postcode::Index> OpenSample(const TempDir& dir, std::string* path = nullptr) {
    postcode::IndexBuilder b;
    for (const SampleRow& r : kSampleRows) {
        const bool business = *r.office != '\0';
        b.Add(postcode::Row{r.code, Cp932FromUtf8(r.pref), Cp932FromUtf8(r.city), Cp932FromUtf8(r.town),
                            Cp932FromUtf8(r.street), Cp932FromUtf8(r.office), r.chome, business});
    }
    const std::string file = dir.File("sample.idx");
    TempDir::Write(file, b.Build("2025-09-30"));
    if (path) *path = file;
    return postcode::Index::Open(file);
}

// Gives changed index bytes a checksum that fits them again, so the damage reaches what it is aimed at.
inline void Reseal(std::string& bytes) {
    const std::uint32_t sum = postcode::format::Checksum(bytes);
    std::memcpy(bytes.data() + postcode::format::kChecksumOffset, &sum, sizeof sum);
}
