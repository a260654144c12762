#!/usr/bin/env bash
# zaridi-probe numedit, checked from outside against the field's documented behaviour.
set -u
probe=$1
fails=0
# run REQUEST JQ-FILTER EXPECTED
check() {
    local got
    got=$(printf '%s' "$1" | "$probe" numedit | jq -c "$2")
    if [ "$got" != "$3" ]; then
        echo "FAIL $1 | $2: expected [$3] got [$got]"
        fails=$((fails + 1))
    fi
}

check '{"initial_text":"1,234,567"}' '[.value,.display,.on_change]' '["1234567","1,234,567",0]'
check '{"settings":{"DecimalLength":2},"initial_text":"12.3456","keys":["{SET:DecimalLength=0}"]}' \
    '[.value,.on_change]' '["12",0]'
check '{"settings":{"IntegerLength":3,"IntegerFixed":true},"initial_text":"9999"}' '[.value,.display]' '["","0"]'
check '{"settings":{"Minus":false},"initial_text":"-12"}' '.value' '""'
check '{"settings":{"ZeroEnabled":true},"initial_text":"0012"}' '.value' '"0012"'
check '{"initial_text":"-1234.5"}' '.display' '"-1,234.5"'
check '{"initial_text":"１２３"}' '.value' '"123"'
# Settings apply in the order written: ZeroEnabled before Text keeps the zeros.
check '{"settings":{"ZeroEnabled":true,"Text":"007"}}' '.value' '"007"'
check '{"settings":{"Text":"007","ZeroEnabled":true}}' '.value' '"7"'

# Typing like a calculator.
check '{"initial_text":"0","keys":["5"]}' '[.value,.on_change]' '["5",1]'
check '{"settings":{"IntegerLength":3},"initial_text":"999","keys":["1",".5"]}' \
    '[.value,.refused,.beeps]' '["999.5",1,1]'
check '{"settings":{"DecimalLength":0,"ErrorBeep":false},"keys":["."]}' '[.value,.refused,.beeps]' '["",1,0]'
check '{"initial_text":"12.5","keys":["{BS}"]}' '[.value,.undo_text]' '["12","12.5"]'
check '{"keys":["."]}' '.value' '"0."'
check '{"keys":["-."]}' '.value' '"-0."'
check '{"initial_text":"5","keys":["-"]}' '.value' '"-5"'
check '{"initial_text":"5","keys":["--"]}' '.value' '"5"'
check '{"initial_text":"1234","keys":["{FOCUS}","7","{UNDO}"]}' \
    '[.value,.selected,.on_change]' '["1234",true,3]'
check '{"keys":["{IME:４}","{IME:．}","{IME:２}","{IME:あ}"]}' '[.value,.refused]' '["4.2",1]'

# Clipboard and menu.
check '{"initial_text":"5","keys":["{CLIP:1,000}","{C-V}"]}' '.value' '"51000"'
check '{"initial_text":"5","keys":["{CLIP:1,000}","{C-A}","{C-V}"]}' '[.value,.selected]' '["1000",false]'
check '{"initial_text":"5","keys":["{PASTE:abc}"]}' '.value' '"5"'
check '{"settings":{"ImageCopy":true,"RightMark":"円"},"initial_text":"1234","keys":["{S-RIGHT}","{C-C}"]}' \
    '.clipboard' '"1,234円"'
check '{"initial_text":"1234","keys":["{C-C}"]}' '.clipboard' 'null'
check '{"initial_text":"77","keys":["{MENU:7}","{MENU:5}"]}' '[.value,.undo_text,.undo_available]' '["","77",true]'
check '{"initial_text":"77","keys":["{MENU:5}"]}' '.value' '"77"'

# Read-only, focus moves, leaving.
check '{"settings":{"ReadOnly":true,"ArrowFocusMove":true},"initial_text":"55","keys":["1a","{BS}","{C-A}","{C-C}","{DOWN}"]}' \
    '[.value,.beeps,.clipboard,.focus_moves]' '["55",0,"55",["next"]]'
check '{"keys":["{ENTER}"]}' '[.refused,.beeps,.focus_moves]' '[1,1,[]]'
check '{"settings":{"EnterFocusMove":true},"keys":["{ENTER}"]}' '[.refused,.beeps,.focus_moves]' '[0,0,["next"]]'
check '{"settings":{"ArrowFocusMove":true},"keys":["{UP}","{DOWN}"]}' '.focus_moves' '["prev","next"]'
check '{"keys":["-","{BLUR}"]}' '[.value,.on_change]' '["",1]'
check '{"settings":{"Options":["eoMinusOnly"]},"keys":["-","{BLUR}"]}' '.value' '"-"'

# Width stop: 6 px per byte plus 1, box 30 px less 2+2 margins and 2+2 border leaves 22.
check '{"settings":{"Options":["eoORInputStop"],"ClientWidth":30},"text_width_per_byte":6,"keys":["1234"]}' \
    '[.value,.refused]' '["123",1]'
check '{"settings":{"ClientWidth":30},"text_width_per_byte":6,"keys":["1234"]}' '.value' '"1234"'

# Colours, font and input-method name are accepted like the other published properties.
check '{"settings":{"Color":"cl3DLight","DisabledColor":"clGrayText","ImeName":"","Font":{"Name":"x","Size":15},"ReadOnly":true},"initial_text":"0","keys":["5"]}' \
    '[.value,.refused]' '["0",0]'

# Bad requests fail cleanly.
if printf 'nope' | "$probe" numedit >/dev/null 2>&1; then
    echo "FAIL invalid JSON accepted"
    fails=$((fails + 1))
fi
if printf '{"settings":{"Nonsense":1}}' | "$probe" numedit >/dev/null 2>&1; then
    echo "FAIL unknown property accepted"
    fails=$((fails + 1))
fi

[ $fails -eq 0 ] && echo "numedit probe: all passed"
exit $fails
