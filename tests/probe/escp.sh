#!/usr/bin/env bash
# zaridi-probe escp, checked from outside: the printer's bytes and nothing else on stdout.
source "$(dirname "$0")/support.bash"

hexof() { # the probe's stdout for the JSON in $1, as one line of hex; its exit code in $dir/rc
    printf '%s' "$1" | "$probe" escp 2>"$dir/err" | xxd -p | tr -d '\n'
    echo "${PIPESTATUS[1]}" >"$dir/rc"
}

# One digit in the first postcode box, layout (186, 30) = dot (209, 34): reset, letter quality, the
# Japanese character set, left margin 0, page length 3 x 240/180 inch, feed 34/180, 69/60 inch and
# 2/180 across, normal size, 12 characters per inch with no extra space, the digit, CR, FF.
out=$(hexof '{"fields":{"Label_dpix":"180","Label_dpiy":"180","Edit_Zip":"1"}}')
expect "the whole stream of one digit" \
    1b401b78011b52081b6c001b33f01b43031b4a221b2445001b5c02001b57001b77001c21001b4d121b2000310d0c "$out"
expect "exit code" 0 "$(cat "$dir/rc")"

# Kanji in kanji mode as JIS codes, 髙 (not in JIS X 0208) as a 30-column picture at its place.
out=$(hexof '{"fields":{"Label_dpix":"180","Label_dpiy":"180","Edit_Add1":"東京","Edit_Custo1":"髙橋"}}')
expect "東京 in kanji mode" yes "$(grep -q 1c26456c357e1c2e <<<"$out" && echo yes)"
picture=$(grep -o '1b2a271e00.\{180\}1c2636361c2e' <<<"$out")
expect "髙 as a picture, then 橋 in kanji mode" yes "$([ -n "$picture" ] && echo yes)"
expect "the picture has ink" yes "$(grep -q '[1-9a-f]' <<<"${picture:10:180}" && echo yes)"
expect "fed out at the end" 0d0c "${out: -4}"

# The hand-fed form, 5.5 inches: 5 lines of 198/180 inch.
out=$(hexof '{"fields":{"Label_dpix":"180","Label_dpiy":"180"},"paper":[648,396]}')
expect "page length of the hand-fed form" 1b33c61b4305 "${out:22:12}"

# Errors: a message on stderr, exit 1, not a byte on stdout.
for bad in '{"fields":{"Label_dpix":"360","Label_dpiy":"360","Edit_Zip":"1"}}' \
    '{"fields":{"Label_dpix":"180","Label_dpiy":"180","Label_Prn_Top":"1.5"}}' \
    '{"fields":{"Label_dpix":"180","Label_dpiy":"180"},"paper":[0,288]}' '{"fields":'; do
    out=$(hexof "$bad")
    expect "no bytes for $bad" "" "$out"
    expect "exit code for $bad" 1 "$(cat "$dir/rc")"
    expect "a message for $bad" yes "$(grep -qv QStandardPaths "$dir/err" && echo yes)"
done
expect "the resolution named" yes "$(grep -q '180 x 180 dpi' <(printf '%s' '{"fields":{"Label_dpix":"360","Label_dpiy":"360"}}' | "$probe" escp 2>&1) && echo yes)"
"$probe" escp extra </dev/null >/dev/null 2>&1
expect "usage" 2 $?

finish escp
