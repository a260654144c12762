#!/usr/bin/env bash
# --import-postcodes: official-format files made here are written into the postcode index of the folder
# --dir names, with the counts reported; a wrong or missing file exits 1 and leaves the index as it was.
source "$(dirname "$0")/support.bash"
probe=$(dirname "$program")/zaridi-probe
mkdir "$sandbox/start" "$sandbox/data"

ken_row() { # code town: one row of utf_ken_all.csv
    printf '01101,"060  ","%s","ｶﾅ","ｶﾅ","ｶﾅ","北海道","札幌市中央区","%s",0,0,0,0,0,0\r\n' "$1" "$2"
}
{
    ken_row 0600042 "大通西（１～１９丁目）"
    ken_row 0640820 "大通西（２０～２８丁目）"
    ken_row 0600000 "以下に掲載がない場合"
} >"$sandbox/start/utf_ken_all.csv"
printf '13101,"ｶﾅ","東京中央郵便局","東京都","千代田区","丸の内","２丁目７－２","1008994","100  ","銀座",1,0,0\r\n' |
    iconv -f UTF-8 -t CP932 >"$sandbox/start/JIGYOSYO.CSV"
echo "not a postcode file" >"$sandbox/start/notes.csv"

# import FILE...: from the start folder, into the data folder
import() {
    (cd "$sandbox/start" && timeout 60 "$program" --dir "$sandbox/data" --import-postcodes "$@" \
        >"$sandbox/out" 2>"$sandbox/err")
}

# The index in use is the one beside the program (the whole country, when the build made it; its business
# offices carried into the first import): these few rows would shrink it, which the command line allows.
import --allow-shrink utf_ken_all.csv
code=$?
[ $code -eq 0 ] || fail "import: exit $code: $(cat "$sandbox/err")"
grep -q "utf_ken_all.csv (KEN_ALL (UTF-8)): 3行" "$sandbox/out" || fail "no file line: $(cat "$sandbox/out")"
grep -q "郵便番号データを書きました: $sandbox/data/postcode.idx" "$sandbox/out" || fail "no path: $(cat "$sandbox/out")"
grep -q "住所 3件" "$sandbox/out" || fail "no counts: $(cat "$sandbox/out")"
[ "$(ls -A "$sandbox/data")" = "postcode.idx" ] || fail "data folder holds: $(ls -A "$sandbox/data")"
[ "$(stat -c %a "$sandbox/data/postcode.idx")" = 600 ] || fail "the new index is readable by others"

# Business offices alone: the addresses come from the index just written beside the settings.
import --allow-shrink JIGYOSYO.CSV || fail "business import: exit $?: $(cat "$sandbox/err")"
grep -q "前のデータから引き継いだ住所: 3件" "$sandbox/out" || fail "addresses not carried: $(cat "$sandbox/out")"
if [ -x "$probe" ]; then
    got=$(printf '0600042\n1008994\n' | "$probe" postcode lookup --data "$sandbox/data/postcode.idx" |
        jq -c '.entries[0] | [.town, .office]')
    [ "$got" = $'["大通西",""]\n["丸の内","東京中央郵便局"]' ] || fail "index content: $got"
fi

before=$(md5sum <"$sandbox/data/postcode.idx")
for bad in notes.csv missing.csv; do
    import utf_ken_all.csv "$bad"
    code=$?
    [ $code -eq 1 ] || fail "$bad: exit $code, expected 1"
    grep -q "$bad" "$sandbox/err" || fail "$bad: not named: $(cat "$sandbox/err")"
    grep -q "郵便番号データは変わっていません" "$sandbox/err" || fail "$bad: $(cat "$sandbox/err")"
    [ "$before" = "$(md5sum <"$sandbox/data/postcode.idx")" ] || fail "$bad: the index changed"
    [ "$(ls -A "$sandbox/data")" = "postcode.idx" ] || fail "$bad: left $(ls -A "$sandbox/data")"
done

# A file that would leave less than half of the index: refused without a terminal to ask, unless allowed.
for code in 0600001 0600002 0600003 0600004 0600005 0600006; do ken_row $code "北一条西"; done >"$sandbox/start/six.csv"
import six.csv || fail "six rows: exit $?: $(cat "$sandbox/err")"
ken_row 0600042 "大通西（１～１９丁目）" >"$sandbox/start/one.csv"
before=$(md5sum <"$sandbox/data/postcode.idx")
import one.csv </dev/null
code=$?
[ $code -eq 1 ] || fail "shrink: exit $code, expected 1"
grep -q "半分より少なくなります" "$sandbox/err" || fail "shrink: not said: $(cat "$sandbox/err")"
grep -q -- "--allow-shrink" "$sandbox/err" || fail "shrink: the way on not named: $(cat "$sandbox/err")"
[ "$before" = "$(md5sum <"$sandbox/data/postcode.idx")" ] || fail "shrink: the index changed"
import --allow-shrink one.csv </dev/null || fail "allowed shrink: exit $?: $(cat "$sandbox/err")"
grep -q "住所 1件" "$sandbox/out" || fail "allowed shrink: $(cat "$sandbox/out")"

[ $fails -eq 0 ] && echo "postcode import: all passed"
exit $fails
