#!/usr/bin/env bash
# zaridi-probe ini and cp932, checked from outside.
source "$(dirname "$0")/support.bash"

ini=$dir/tavo_Zaridi2.ini
expect "get from missing file gives default" "dflt" "$("$probe" ini get "$ini" tv_SAGAWAprn E_ZIP dflt)"
"$probe" ini set "$ini" tv_SAGAWAprn E_AD1 "東京都港区　芝公園" || fails=$((fails + 1))
expect "set then get, other letter case" "東京都港区　芝公園" "$("$probe" ini get "$ini" TV_SAGAWAPRN e_ad1 x)"
expect "file is CP932 with CR LF" "5b74765f53414741574170726e5d0d0a455f4144313d938c8b9e93738d608be681408ec5" \
    "$(head -c 36 "$ini" | od -An -tx1 | tr -d ' \n')"
"$probe" ini set "$ini" "表" "ソ" "  padded  "
expect "blanks survive through quotes" "  padded  " "$("$probe" ini get "$ini" "表" "ソ" x)"
printf '[s]\r\nn=$1f\r\nm=12x\r\n' >"$ini"
expect "getint hex" "31" "$("$probe" ini getint "$ini" s n 0)"
expect "getint garbage gives default" "-1" "$("$probe" ini getint "$ini" s m -1)"
err=$("$probe" ini set "$dir/none/x.ini" s k v 2>&1 >/dev/null)
rc=$?
expect "write error exit code" "1" "$rc"
expect "write error message" "$dir/none/x.ini に書き込めません" "$err"
expect "cp932 hex" "95 5C 8E A6|61 81 60||" "$(printf '表示\na〜\n\n' | "$probe" cp932 | tr '\n' '|')"

finish ini
