#!/usr/bin/env bash
# zaridi-probe orders import: sample exports read into orders, and bad files refused, from outside.
set -u
probe=$1
data=$(cd "$(dirname "$0")/../unit/orders/data" && pwd)
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
failures=0

fail() {
    echo "FAIL $*"
    failures=$((failures + 1))
}

# check NAME FILTER EXPECTED: the jq filter applied to the last import's output gives EXPECTED.
check() {
    local got
    got=$(jq -c "$2" <<<"$out")
    [ "$got" = "$3" ] || fail "$1: want $3 got $got"
}

out=$("$probe" orders import "$data/mall_cp932.csv") || fail "mall: exit $?"
check mall-order '[.[].order]' '["100001-20240501-0001","100001-20240501-0002","100001-20240501-0003"]'
check mall-fields '.[0].fields | keys' \
    '["CheckBox_p1","Edit_Add1","Edit_Add2","Edit_Add3","Edit_Custo1","Edit_G1","Edit_G2","Edit_G3","Edit_Zip","Edit_tel","KyNumEdit_KOSUU","KyNumEdit_PriceSub"]'
check mall-multi-item '.[0].fields | [.Edit_G1, .Edit_G2, .Edit_G3]' '["有機緑茶 100g","ほうじ茶ティーバッグ 20包",""]'
check mall-split '.[1].fields | [.Edit_Add1, .Edit_Add2]' '["神奈川県横浜市港北区新横浜二丁目15番地10","新横浜スクエアビル5階"]'
check mall-cod '.[1].fields | [.KyNumEdit_PriceSub, .CheckBox_p1, .KyNumEdit_KOSUU]' '["12800",true,"1"]'
check mall-not-cod '.[0].fields | [.KyNumEdit_PriceSub, .CheckBox_p1]' '["0",false]'
check mall-warnings '[.[].warnings | length]' '[0,1,1]'

check mall-keys '.[0] | keys' '["fields","order","platform","refs","warnings"]'
check mall-platform '[.[] | [.platform, .refs]]' '[["rakuten",{}],["rakuten",{}],["rakuten",{}]]'

# Each platform is named, and the IDs an upload back to the shop needs come with the order.
out=$("$probe" orders import "$data/rakuten_pay_cp932.csv") || fail "rakuten: exit $?"
check rakuten-refs '.[0] | [.platform, .refs]' '["rakuten",{"商品明細ID":"200000001,200000002","送付先ID":"1001"}]'
check rakuten-shipments '[.[] | .order + " " + .refs."送付先ID"]' \
    '["100001-20241201-0000001 1001","100001-20241201-0000002 1002","100001-20241201-0000003 1003","100001-20241201-0000003 1004"]'
check rakuten-cod '.[1].fields | [.KyNumEdit_PriceSub, .CheckBox_p1]' '["12800",true]'
out=$("$probe" orders import "$data/amazon_unshipped_cp932.txt") || fail "amazon: exit $?"
check amazon-refs '[.[] | [.order, .platform, .refs]]' \
    '[["250-1234567-1234567","amazon",{"order-item-id":"12345678901234,12345678901235"}],["503-7654321-7654321","amazon",{"order-item-id":"22345678901234"}]]'
for f in yahoo_cp932.csv shopify_orders_utf8_bom.csv colorme_sales_all_cp932.csv futureshop_cp932.csv; do
    out=$("$probe" orders import "$data/$f") || fail "$f: exit $?"
    check "$f-platform" '[.[] | .refs] | unique' '[{}]'
    check "$f-cod" '.[1].fields | [.CheckBox_p1, .KyNumEdit_PriceSub != "0"]' '[true,true]'
done
check futureshop-name '.[0].platform' '"futureshop"'

out=$("$probe" orders import "$data/store_utf8_bom.csv") || fail "store: exit $?"
check store-unencodable '.[0].fields.Edit_Custo1' '"𠮷田 花子"'
check store-unencodable-warning '.[0].warnings | map(select(test("「𠮷」"))) | length' '1'
check store-phone '[.[].fields.Edit_tel]' '["090-1234-5678","03-1234-5678"]'
check store-company '.[0].fields | [.Edit_Add2, .Edit_Add3]' '["札幌ビル8F","株式会社サンプル商事"]'

out=$("$probe" orders import "$data/carrier_utf8.tsv") || fail "carrier: exit $?"
check carrier-zip '.[0].fields.Edit_Zip' '"001-0012"'
check carrier-zip-warning '.[0].warnings | map(select(test("先頭の0"))) | length' '1'

out=$("$probe" orders import "$data/spreadsheet_cp932.csv") || fail "spreadsheet: exit $?"
check spreadsheet-other '[.[] | [.platform, .refs]] | unique' '[["other",{}]]'
check formula '.[0].warnings | map(select(test("数式として計算せず"))) | length' '2'

# A saved mapping makes a file with unknown headers importable.
printf 'a,b,c\n山田,1000001,東京都千代田区\n' >"$tmp/plain.csv"
printf '[a,b,c]\r\nZip=b\r\nAddress1=#3\r\nName=a\r\n' >"$tmp/map.ini"
out=$("$probe" orders import "$tmp/plain.csv" --mapping "$tmp/map.ini") || fail "mapping: exit $?"
check mapping '.[0].fields | [.Edit_Zip, .Edit_Add1, .Edit_Custo1]' '["100-0001","東京都千代田区","山田"]'

# expect_error NAME FILE PART: exit 1 and {"error": ...} naming the file and containing PART.
expect_error() {
    local got rc
    got=$("$probe" orders import "$2")
    rc=$?
    [ $rc -eq 1 ] || fail "$1: exit $rc"
    local msg
    msg=$(jq -r '.error' <<<"$got")
    [[ "$msg" == *"「$2」"* && "$msg" == *"$3"* ]] || fail "$1: $got"
}
: >"$tmp/empty.csv"
printf '注文番号,郵便番号,住所,お名前\r\n' >"$tmp/header.csv"
printf 'PK\003\004\000\000' >"$tmp/binary.csv"
printf '注文番号,郵便番号,住所,お名前\n1,100-0001,東京都,山田\n2,100-0002\n' >"$tmp/ragged.csv"
truncate -s 100M "$tmp/huge.csv"
expect_error empty "$tmp/empty.csv" "空です"
expect_error header-only "$tmp/header.csv" "注文がありません"
expect_error binary "$tmp/binary.csv" "テキストファイルではありません"
expect_error ragged "$tmp/ragged.csv" "3行目"
expect_error unmapped "$tmp/plain.csv" "列を対応付けてください"
expect_error missing "$tmp/none.csv" "File not found"
expect_error huge "$tmp/huge.csv" "大きすぎます"

"$probe" orders import >/dev/null 2>&1
[ $? -eq 2 ] || fail "orders import without a file is not a usage error"

[ $failures -eq 0 ] && echo "orders probe: all passed"
exit $failures
