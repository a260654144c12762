#!/usr/bin/env bash
# zaridi-probe postcode: the lookup, check and find contract from outside, on a small index made by the
# import from official-format files, and a few real lookups on the index beside the probe when it is built.
source "$(dirname "$0")/support.bash"

# The probe's JSON lines in jq's compact form, joined with "|", so key spacing does not matter.
json() { jq -c . | paste -sd'|'; }

ken() { # code pref city town
    printf '01101,"060  ","%s","ｶﾅ","ｶﾅ","ｶﾅ","%s","%s","%s",0,0,0,0,0,0\r\n' "$@"
}
{
    ken 5300001 大阪府 大阪市北区 梅田
    ken 5300000 大阪府 大阪市北区 以下に掲載がない場合
    ken 4520961 愛知県 清須市 春日明河原
    ken 4520961 愛知県 清須市 春日一番割
    ken 4980000 愛知県 弥富市 以下に掲載がない場合
    ken 4980000 三重県 桑名郡木曽岬町 以下に掲載がない場合
    ken 6008023 京都府 京都市下京区 富永町
    ken 6008351 京都府 京都市下京区 富永町
    ken 0600042 北海道 札幌市中央区 '大通西（１～１９丁目）'
} | iconv -f UTF-8 -t CP932 >"$dir/KEN_ALL.CSV"
printf '13101,"ｶﾅ","古河運輸　株式会社","東京都","千代田区","大手町","２丁目６番４号","1008370","100  ","銀座",0,0,0\r\n' |
    iconv -f UTF-8 -t CP932 >"$dir/JIGYOSYO.CSV"
python3 -c 'import sys, zipfile; zipfile.ZipFile(sys.argv[1], "w", zipfile.ZIP_DEFLATED).write(sys.argv[2], "JIGYOSYO.CSV")' \
    "$dir/jigyosyo.zip" "$dir/JIGYOSYO.CSV"
idx=$dir/postcode.idx
report=$("$probe" postcode import --data "$idx" "$dir/KEN_ALL.CSV" "$dir/jigyosyo.zip")
expect "import exit code" 0 $?
expect "import counts" "住所 9件、事業所 1件、郵便番号 8種類" "$(grep -o '住所.*種類' <<<"$report")"

expect lookup '{"zip":"5300001","entries":[{"pref":"大阪府","city":"大阪市北区","town":"梅田","street":"","office":""}]}|{"zip":"5300001","entries":[{"pref":"大阪府","city":"大阪市北区","town":"梅田","street":"","office":""}]}|{"zip":"5300001","entries":[{"pref":"大阪府","city":"大阪市北区","town":"梅田","street":"","office":""}]}|{"zip":null,"entries":[]}|{"zip":"1234567","entries":[]}|{"zip":null,"entries":[]}|{"zip":null,"entries":[]}' \
    "$(printf '5300001\n530-0001\n５３０－０００１\n\n1234567\n530-00011\nabc\n' | "$probe" postcode lookup --data "$idx" | json)"
expect "lookup: several towns in data order" '["春日明河原","春日一番割"]' \
    "$(echo 4520961 | "$probe" postcode lookup --data "$idx" | jq -c '[.entries[].town]')"
expect "lookup: two prefectures, empty towns" '[["愛知県","弥富市",""],["三重県","桑名郡木曽岬町",""]]' \
    "$(echo 4980000 | "$probe" postcode lookup --data "$idx" | jq -c '[.entries[] | [.pref, .city, .town]]')"
expect "lookup: business office" '{"pref":"東京都","city":"千代田区","town":"大手町","street":"２丁目６番４号","office":"古河運輸　株式会社"}' \
    "$(echo 100-8370 | "$probe" postcode lookup --data "$idx" | jq -c '.entries[0]')"
expect "lookup: notes stripped" '"大通西"' "$(echo 0600042 | "$probe" postcode lookup --data "$idx" | jq -c '.entries[0].town')"

expect check '{"result":"match","expected":"大阪府大阪市北区梅田"}|{"result":"match","expected":"大阪府大阪市北区梅田"}|{"result":"mismatch","expected":"大阪府大阪市北区梅田"}|{"result":"mismatch","expected":"大阪府大阪市北区梅田"}|{"result":"unknown_zip","expected":""}|{"result":"no_zip","expected":""}|{"result":"match","expected":"愛知県清須市春日一番割"}|{"result":"match","expected":"京都府京都市下京区富永町"}|{"result":"match","expected":"東京都千代田区大手町"}|{"result":"mismatch","expected":"北海道札幌市中央区大通西"}|{"result":"match","expected":"三重県桑名郡木曽岬町"}' \
    "$("$probe" postcode check --data "$idx" <<'LINES' | json
{"zip": "5300001", "address": "大阪府大阪市北区梅田1-1-3"}
{"zip": "５３０－０００１", "address": "大阪市北区 梅田１丁目"}
{"zip": "5300001", "address": "大阪府大阪市北区曽根崎"}
{"zip": "5300001", "address": ""}
{"zip": "1234567", "address": "大阪府大阪市北区梅田"}
{"zip": "53", "address": "大阪府大阪市北区梅田"}
{"zip": "4520961", "address": "愛知県清須市春日一番割1"}
{"zip": "6008023", "address": "京都市下京区河原町通松原上ル富永町"}
{"zip": "1008370", "address": "千代田区大手町二丁目6番4号"}
{"zip": "0600042", "address": "札幌市中央区大通西二十丁目"}
{"zip": "4980000", "address": "三重県桑名郡木曽岬町西対海地"}
LINES
)"

expect find '{"zips":["5300001"]}|{"zips":["5300000"]}|{"zips":[]}|{"zips":["6008023","6008351"]}|{"zips":[]}|{"zips":[]}' \
    "$(printf '大阪府大阪市北区梅田1-1\n大阪府大阪市北区曽根崎\n大阪市北区梅田\n京都府京都市下京区富永町338\n東京都千代田区大手町2-6-4\n\n' |
        "$probe" postcode find --data "$idx" | json)"

echo 5300001 | "$probe" postcode lookup --data "$dir/none.idx" >/dev/null 2>&1
expect "missing index exit code" 1 $?
head -c 500 "$idx" >"$dir/cut.idx"
err=$(echo 5300001 | "$probe" postcode lookup --data "$dir/cut.idx" 2>&1 >/dev/null)
expect "truncated index exit code" 1 $?
expect "truncated index message" "郵便番号データを使えません（途中で切れています）: $dir/cut.idx" "$err"
cp "$idx" "$dir/before.idx"
printf 'a,b\r\n' >"$dir/wrong.csv"
"$probe" postcode import --data "$idx" "$dir/wrong.csv" >/dev/null 2>&1
expect "wrong import exit code" 1 $?
cmp -s "$idx" "$dir/before.idx" || { echo "FAIL a wrong import changed the index"; fails=$((fails + 1)); }
# An open index answers on after its file is cut in place.
mkfifo "$dir/requests"
"$probe" postcode lookup --data "$dir/before.idx" <"$dir/requests" >"$dir/answers" 2>&1 &
lookup=$!
{
    echo 5300001
    sleep 0.5
    : >"$dir/before.idx"
    echo 4520961
} >"$dir/requests"
wait $lookup
expect "lookup on a cut index: exit code" 0 $?
expect "lookup on a cut index: answers" '梅田|春日明河原,春日一番割' \
    "$(jq -r '[.entries[].town] | join(",")' "$dir/answers" | paste -sd'|')"

# An import that would leave less than half of the index is refused unless the command line allows it.
cp "$idx" "$dir/before.idx"
ken 5300001 大阪府 大阪市北区 梅田 | iconv -f UTF-8 -t CP932 >"$dir/one.csv"
err=$("$probe" postcode import --data "$idx" "$dir/one.csv" 2>&1 >/dev/null)
expect "shrinking import exit code" 1 $?
expect "shrinking import message" "取り込むと郵便番号データが今の半分より少なくなります（今 10 件、取り込み後 2 件）。ファイルが途中で切れているか、違うファイルかもしれません。|郵便番号データは変わっていません" \
    "$(paste -sd'|' <<<"$err")"
cmp -s "$idx" "$dir/before.idx" || { echo "FAIL a refused shrink changed the index"; fails=$((fails + 1)); }
"$probe" postcode import --data "$idx" --allow-shrink "$dir/one.csv" >/dev/null
expect "allowed shrink exit code" 0 $?
expect "allowed shrink counts" '{"standard":1,"business":1}' "$("$probe" postcode info --data "$idx" | jq -c '{standard, business}')"

"$probe" postcode frobnicate >/dev/null 2>&1
expect "unknown verb is a usage error" 2 $?

# The real data, converted by the build from the packaged files, beside the probe.
real=$(dirname "$probe")/postcode.idx
if [ -f "$real" ]; then
    expect "real: data date and codes" '{"date":"2025-09-30","codes":142871}' \
        "$("$probe" postcode info | jq -c '{date, codes}')"
    expect "real: 530-0001" '{"zip":"5300001","entries":[{"pref":"大阪府","city":"大阪市北区","town":"梅田","street":"","office":""}]}' \
        "$(echo 530-0001 | "$probe" postcode lookup | json)"
    expect "real: 4520961 has 66 towns" 66 "$(echo 4520961 | "$probe" postcode lookup | jq '[.entries[].town] | unique | length')"
    expect "real: codes in two prefectures" '2|2|2' \
        "$(printf '4980000\n8710000\n6180000\n' | "$probe" postcode lookup | jq '[.entries[].pref] | unique | length' | paste -sd'|')"
    expect "real: check" 'match|mismatch' \
        "$(printf '{"zip":"1000005","address":"東京都千代田区丸の内1-9-1"}\n{"zip":"1000005","address":"東京都千代田区大手町1-1"}\n' |
            "$probe" postcode check | jq -r .result | paste -sd'|')"
    expect "real: find" '{"zips":["1000005"]}' "$(echo '東京都千代田区丸の内1-9-1' | "$probe" postcode find | json)"
else
    echo "postcode probe: no real index beside the probe, real lookups skipped"
fi

finish postcode
