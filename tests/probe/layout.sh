#!/usr/bin/env bash
# zaridi-probe layout, checked from outside.
source "$(dirname "$0")/support.bash"

out=$(printf '%s' '{"fields":{"Label_dpix":"360","Label_dpiy":"360","Edit_Zip":"123-4567","KyNumEdit_PriceSub":"5000","KyNumEdit_TaxSub":"238","CheckBox_p1":true,"CheckBox_p3":true}}' | "$probe" layout)
expect "first postcode box" '{"font":"Lucida Sans Unicode","hex":"31","size":12,"text":"1","x":419,"y":68}' \
    "$(grep -o '{[^{}]*}' <<<"$out" | head -1)"
expect "yen byte in the third amount box" '"hex":"5C","size":13,"text":"\\"' \
    "$(grep -o '"hex":"5C","size":13,"text":"[^"]*"' <<<"$out")"
expect "one payment mark" 1 "$(grep -o '"text":"○"' <<<"$out" | wc -l)"
expect "no sender without CheckBox_My" 0 "$(grep -c '"y":1183' <<<"$out")"

out=$(printf '%s' '{"fields":{"Label_dpix":"360","Label_dpiy":"360","Label_Prn_Top":"1.5"}}' | "$probe" layout)
expect "margin that is not an integer" '{"error":"'"'"'1.5'"'"' is not a valid integer value"}' "$out"

out=$(printf '%s' '{"fields":{"Label_dpix":"180","Label_dpiy":"180","Label_Prn_Left":"-5","Edit_Zip":"表-1"}}' | "$probe" layout)
expect "half of a double-byte character is null" '"hex":"95","size":12,"text":null,"x":204' \
    "$(grep -o '"hex":"95","size":12,"text":null,"x":[0-9-]*' <<<"$out")"

# Seven digits in every spelling fill all seven postcode boxes; the sender's code its two groups.
for zip in 5300001 530-0001 '５３０－０００１' '〒5300001'; do
    out=$(jq -cn --arg zip "$zip" '{fields: {Label_dpix: "180", Label_dpiy: "180", Edit_Zip: $zip, CheckBox_My: true, Edit_MyZip: $zip}}' | "$probe" layout)
    expect "postcode boxes for $zip" "5300001" "$(jq -r '[.draws[] | select(.size == 12 and .y == 34) | .text] | join("")' <<<"$out")"
    expect "sender postcode for $zip" "530 0001" "$(jq -r '[.draws[] | select(.size == 10 and .y == 383) | .text] | join(" ")' <<<"$out")"
done

finish layout
