#!/usr/bin/env bash
# zaridi-probe history shipped: the shipped files made from a history, checked from outside byte for byte
# against each platform's documented layout (docs/shipped-files.md); and the platform and IDs that
# orders import prints go into the history as they are.
source "$(dirname "$0")/support.bash"
data=$(cd "$(dirname "$0")/../unit/orders/data" && pwd)

db=$dir/tavo_Zaridi2.db
at() { echo "\"time\": \"2024-05-0$1T09:0$2:00+09:00\""; }
cat >"$dir/slips.json" <<JSON
[{$(at 2 0), "order": "R-1", "platform": "rakuten", "refs": {"送付先ID": "1001", "商品明細ID": "2001"},
  "tracking": "512547514334", "Edit_Custo1": "佐藤 花子"},
 {$(at 2 1), "order": "R-1", "platform": "rakuten", "refs": {"送付先ID": "1001", "商品明細ID": "2001"},
  "tracking": "5125-4751-4345", "Edit_Custo1": "佐藤 花子"},
 {$(at 2 2), "order": "R-2", "platform": "rakuten", "refs": {"送付先ID": "1002"}, "tracking": "512547514356",
  "void": true, "Edit_Custo1": "鈴木 一郎"},
 {$(at 2 3), "order": "R-2", "platform": "rakuten", "refs": {"送付先ID": "1002"}, "tracking": "512547514360",
  "Edit_Custo1": "鈴木 一郎"},
 {$(at 2 4), "order": "R-3", "platform": "rakuten", "tracking": "400012345672", "Edit_Custo1": "高橋"},
 {$(at 2 5), "order": "A-1", "platform": "amazon", "refs": {"order-item-id": "12345678901234"},
  "tracking": "444413758703", "Edit_Custo1": "田中"},
 {$(at 2 6), "order": "A-1", "platform": "amazon", "refs": {"order-item-id": "12345678901234"},
  "tracking": "444413758714", "Edit_Custo1": "田中"},
 {$(at 2 7), "order": "Y-1", "platform": "yahoo", "tracking": "405548424886", "Edit_Custo1": "=cmd"},
 {$(at 3 0), "order": "R-4", "platform": "rakuten", "refs": {"送付先ID": "1004"}, "tracking": "512547514371",
  "Edit_Custo1": "伊藤"}]
JSON
"$probe" history record --db "$db" <"$dir/slips.json" >/dev/null || expect "record" "0" "$?"

# shipped FORMAT [ARG...]: the file as UTF-8 with its CR as \r; stderr kept in $dir/err.
shipped() {
    local format=$1
    shift
    "$probe" history shipped --db "$db" --format "$format" "$@" 2>"$dir/err" >"$dir/out"
    echo "exit $?"
    iconv -f CP932 -t UTF-8 "$dir/out" | sed 's/\r/\\r/g'
}
day=(--from 2024-05-02 --to 2024/05/02)
expect "rakuten: a row per number of the day, Shift_JIS, CR LF" "exit 0
注文番号,送付先ID,発送明細ID,お荷物伝票番号,配送会社,発送日\r
R-1,1001,,512547514334,1002,2024-05-02\r
R-1,1001,,512547514345,1002,2024-05-02\r
R-2,1002,,512547514360,1002,2024-05-02\r" "$(shipped rakuten "${day[@]}")"
expect "rakuten: the spoiled and the wrong number apart" "left out: 3 書き損じの送り状です
left out: 5 送り状番号が正しくありません" "$(cat "$dir/err")"
expect "amazon: one row per order, tab-separated, under the template's three lines" "exit 0
TemplateType=OrderFulfillment	Version=2011.1102	この行はAmazonが使用しますので変更や削除しないでください。\r
注文番号	注文商品番号	出荷数	出荷日	配送業者コード	配送業者名	お問い合わせ伝票番号	配送方法	代金引換\r
order-id	order-item-id	quantity	ship-date	carrier-code	carrier-name	tracking-number	ship-method	cod-collection-method\r
A-1			2024-05-02	SagawaExpress		444413758703		\r" "$(shipped amazon "${day[@]}")"
expect "amazon: the order's second number reported" "no row: A-1 444413758714" "$(cat "$dir/err")"

printf '[History]\r\nCarrier=japanpost\r\n' >"$dir/tavo_Zaridi2.ini" # the window's settings beside its history
expect "generic: every platform, every day, the carrier of the settings, a formula made text" "exit 0
注文番号,出荷日,配送業者,お問い合わせ伝票番号,お届け先名,発送日\r
R-1,2024/05/02,日本郵便,512547514334,佐藤 花子,2024-05-02\r
R-1,2024/05/02,日本郵便,512547514345,佐藤 花子,2024-05-02\r
R-2,2024/05/02,日本郵便,512547514360,鈴木 一郎,2024-05-02\r
A-1,2024/05/02,日本郵便,444413758703,田中,2024-05-02\r
A-1,2024/05/02,日本郵便,444413758714,田中,2024-05-02\r
Y-1,2024/05/02,日本郵便,405548424886,'=cmd,2024-05-02\r
R-4,2024/05/03,日本郵便,512547514371,伊藤,2024-05-03\r" "$(shipped generic)"
expect "generic: Shift_JIS from the first byte, no byte-order mark" "92 8d" "$(head -c 2 "$dir/out" | od -An -tx1 | xargs)"
expect "--from alone" "R-4" "$(shipped rakuten --from 2024-05-03 | sed -n 3p | cut -d, -f1)"

printf '[History]\r\nCarrier=seino\r\n' >"$dir/tavo_Zaridi2.ini"
expect "an unknown carrier: exit 1, nothing out" "exit 1" "$(shipped rakuten)"
grep -q "seino" "$dir/err" || expect "the message names it" "seino" "$(cat "$dir/err")"
rm "$dir/tavo_Zaridi2.ini"
"$probe" history shipped --db "$db" --format ebay >/dev/null 2>&1
expect "an unknown format is a usage error" "2" "$?"
expect "a malformed day: exit 1" "exit 1" "$(shipped generic --to 2024-02-30)"

# orders import's platform and refs, recorded as printed, come back from history list unchanged.
out=$("$probe" orders import "$data/rakuten_pay_cp932.csv")
jq '[.[] | {time: "2024-05-04T09:00:00+09:00", order, platform, refs, Edit_Custo1: .fields.Edit_Custo1}]' \
    <<<"$out" | "$probe" history record --db "$db" >/dev/null
expect "platform and refs as orders import printed them" "$(jq -c 'map([.order, .platform, .refs])' <<<"$out")" \
    "$("$probe" history list --db "$db" --since 2024-05-04 | jq -c 'map([.order, .platform, .refs])')"

finish shipped
