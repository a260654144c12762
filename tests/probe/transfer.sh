#!/usr/bin/env bash
# The pasted-text rules from outside: fold, count, classify, judge, strip, compact, split, transfer.
set -u
probe=$1
failures=0

# expect NAME EXPECTED COMMAND...   (stdin of COMMAND comes from the caller). EXPECTED is the whole
# output without its final line break; empty lines at the end count.
expect() {
    local name=$1 want=$2$'\n.'
    shift 2
    local got
    got=$("$@"; echo .)
    if [ "$got" != "$want" ]; then
        echo "FAIL $name"
        echo "  want: $want" | cat -A | head -20
        echo "  got:  $got" | cat -A | head -20
        failures=$((failures + 1))
    fi
}

expect fold "東京都港区1-2-3 ｱﾊﾟｰﾄ201
~\"'＼ヮヶ
ｶﾞｷﾞｳﾞ" "$probe" fold <<<'東京都港区１－２－３　アパート２０１
～“’＼ヮヶ
ガギヴ'

expect count-zero "6
0" "$probe" count 0 <<<'0120-0000
００'
expect count-kana "2" "$probe" count ｶﾞ <<<'ｶﾞｶﾞ'
expect count-trail "0
1" "$probe" count '[' <<<'ー
ー['
expect count-case "0" "$probe" count tel <<<'TEL'

expect classify "postcode
postcode
neither
neither
phone
phone
neither
neither
neither
neither" "$probe" classify <<'IN'
123-4567
１２３－４５６７
1234567
123-45678
03-1234-5678
03-1234-5678内
03ー1234ー5678
03-1234-5678 内
　123-4567

IN

expect judge "prefecture
address
name
name
name
address
address
name" "$probe" judge <<'IN'
沖縄県
沖縄県那覇市泉崎
沖縄県那覇市
東京
町田 太郎
市川商事株式会社
FUJITA TARO
株式会社山田商事
IN

expect strip "123-4567
山田太郎
03-1234-5678
０３－１２３４－５６７８
東京都港区１－２－３
123-4567 東京都港区
Ho Sakura" "$probe" strip <<'IN'
お届け先：〒123-4567
お名前：山田太郎 様
TEL：03-1234-5678
ＴＥＬ：０３－１２３４－５６７８
住所２：東京都港区１－２－３
１２３－４５６７　東京都港区
Hotel Sakura
10:00-12:00
IN

expect strip-short "1000-1200





" "$probe" strip <<<'10:00-12:00'

expect compact "ご注文ありがとうございます
〒123-4567
.COM" "$probe" compact <<'IN'
ご注文ありがとうございます

yamada@example.com
〒123-4567
https://www.example.jp/
  .COM  
IN

expect split "123-4567
山田太郎
東京都千代田区丸の内1-1-1



" "$probe" split <<'IN'
123-4567東京都千代田区丸の内1-1-1
山田太郎

IN

expect transfer-labelled '{"Edit_Zip":"123-4567","Edit_Add1":"東京都新宿区西新宿2-8-1","Edit_Add2":"","Edit_Add3":"三行目","Edit_Custo1":"山田太郎","Edit_tel":"03-1234-5678","memo":["123-4567","東京都新宿区西新宿2-8-1","山田太郎","03-1234-5678","","",""],"message_shown":false,"Label_Warning":""}' \
    "$probe" transfer <<'IN'
{"memo": "お届け先：〒123-4567\r\n住所：東京都新宿区西新宿2-8-1\r\nお名前：山田太郎 様\r\nTEL：03-1234-5678\r\n",
 "fields": {"Edit_Zip": "999-9999", "Edit_Add3": "三行目", "Edit_tel": "0"}}
IN

expect transfer-split '{"Edit_Zip":"123-4567","Edit_Add1":"東京都千代田区丸の内1-1-1","Edit_Add2":"","Edit_Add3":"","Edit_Custo1":"山田太郎","Edit_tel":"03-1234-5678","memo":["123-4567","山田太郎","03-1234-5678"," 東京都千代田区丸の内1-1-1","","",""],"message_shown":false,"Label_Warning":""}' \
    "$probe" transfer <<'IN'
{"memo": "〒123-4567 東京都千代田区丸の内1-1-1\n山田太郎 様\nTEL 03-1234-5678"}
IN

# No text: the fields stay (the postcode folded on the way in) and the warning is evaluated.
expect transfer-empty '{"Edit_Zip":"123-4567","Edit_Add1":"あいうえおかきくけこさしすせそたちつてとな","Edit_Add2":"","Edit_Add3":"","Edit_Custo1":"","Edit_tel":"","memo":[],"message_shown":true,"Label_Warning":"警告:おところ①の文字数が多すぎます。　おところ②へ分割してください"}' \
    "$probe" transfer <<'IN'
{"memo": "\r\n \r\nshop@example.co.jp\r\n", "fields": {"Edit_Zip": "１２３－４５６７", "Edit_Add1": "あいうえおかきくけこさしすせそたちつてとな"}}
IN

# Text only below line 16 counts as none.
memo=$(printf '\\n%.0s' $(seq 16))
expect transfer-below-16 '{"Edit_Zip":"","Edit_Add1":"","Edit_Add2":"","Edit_Add3":"","Edit_Custo1":"","Edit_tel":"","memo":[],"message_shown":true,"Label_Warning":""}' \
    "$probe" transfer <<<"{\"memo\": \"${memo}東京都港区芝公園4-2-8\"}"

# Bad input: a clear error and exit code 1, nothing on stdout.
for bad in 'not json' '[1,2]' '{"memo": 5}' '{"memo": "", "fields": {"Edit_Fax": "1"}}' '{"memo": "", "fields": {"Edit_Zip": 1}}'; do
    out=$("$probe" transfer <<<"$bad" 2>/dev/null)
    rc=$?
    if [ $rc -ne 1 ] || [ -n "$out" ]; then
        echo "FAIL bad input accepted: $bad (rc $rc)"
        failures=$((failures + 1))
    fi
done
"$probe" count </dev/null >/dev/null 2>&1
[ $? -eq 2 ] || { echo "FAIL count without pattern"; failures=$((failures + 1)); }

# A paste of 100,000 lines goes through.
big=$(yes '東京都港区芝公園4-2-8' | head -100000)
expect compact-big "$(yes '東京都港区芝公園4-2-8' | head -16)" "$probe" compact <<<"$big"

[ $failures -eq 0 ] && echo "all transfer probe checks passed"
exit $failures
