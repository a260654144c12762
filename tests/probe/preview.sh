#!/usr/bin/env bash
# zaridi-probe preview, checked from outside: the picture's size, where the ink is, and no file on errors.
source "$(dirname "$0")/support.bash"

# Dark pixels in a rectangle of the PNG: "ink X0 Y0 X1 Y1" counts near-black ones, "blue ..." the
# outlines' light blue ones.
pixels() { # file kind x0 y0 x1 y1
    python3 - "$@" <<'PY'
import struct, sys, zlib
path, kind, x0, y0, x1, y1 = sys.argv[1], sys.argv[2], *map(int, sys.argv[3:])
data = open(path, 'rb').read()
pos, idat, w, h, ctype = 8, b'', 0, 0, 0
while pos < len(data):
    n, tag = struct.unpack('>I4s', data[pos:pos + 8])
    body = data[pos + 8:pos + 8 + n]
    if tag == b'IHDR':
        w, h, _, ctype = struct.unpack('>IIBB', body[:10])
    elif tag == b'IDAT':
        idat += body
    pos += 12 + n
bpp = {2: 3, 6: 4}[ctype]
raw, stride, rows, prev = zlib.decompress(idat), w * bpp, [], bytearray(w * bpp)
for y in range(min(y1, h)):  # rows below the rectangle are never needed
    f, line = raw[y * (stride + 1)], bytearray(raw[y * (stride + 1) + 1:(y + 1) * (stride + 1)])
    for i in range(stride):
        a = line[i - bpp] if i >= bpp else 0
        b, c = prev[i], prev[i - bpp] if i >= bpp else 0
        p = a + b - c
        pr = a if abs(p - a) <= abs(p - b) and abs(p - a) <= abs(p - c) else b if abs(p - b) <= abs(p - c) else c
        line[i] = (line[i] + [0, a, b, (a + b) // 2, pr][f]) & 0xFF
    rows.append(line)
    prev = line
count = 0
for y in range(max(y0, 0), min(y1, h)):
    for x in range(max(x0, 0), min(x1, w)):
        r, g, b = rows[y][x * bpp:x * bpp + 3]
        count += (max(r, g, b) < 96) if kind == 'ink' else (b > 180 and r < 120)
print(count)
PY
}

slip='"Label_dpix":"180","Label_dpiy":"180","Edit_Zip":"123-4567","Edit_Add1":"東京都千代田区"'

# Continuous form, 10 x 4 inches at 180 dpi: the whole paper, one pixel per dot.
out=$(printf '{"fields":{%s},"paper":[720,288]}' "$slip" | "$probe" preview --out "$dir/plain.png"; echo "rc=$?")
expect "size of the paper in dots" '{"height":720,"width":1800}
rc=0' "$out"
# The first postcode box: layout (186, 30) is dot (209, 34) at 180 dpi.
expect "ink in the first postcode box" yes "$([ "$(pixels "$dir/plain.png" ink 209 34 229 64)" -gt 20 ] && echo yes)"
expect "no ink left of it" 0 "$(pixels "$dir/plain.png" ink 0 0 200 60)"
expect "no outlines unless asked" 0 "$(pixels "$dir/plain.png" blue 150 0 600 120)"

# The printable area 18 points (45 dots) in from each edge moves the text, not the paper.
out=$(printf '{"fields":{%s},"paper":[720,288],"origin":[18,18]}' "$slip" | "$probe" preview --out "$dir/moved.png" --outlines)
expect "paper size with an origin" '{"height":720,"width":1800}' "$out"
expect "ink moved with the origin" yes "$([ "$(pixels "$dir/moved.png" ink 254 79 274 109)" -gt 20 ] && echo yes)"
expect "outlines when asked" yes "$([ "$(pixels "$dir/moved.png" blue 150 0 600 120)" -gt 200 ] && echo yes)"

# 120 x 60 dpi: each way its own resolution.
out=$(printf '{"fields":{"Label_dpix":"120","Label_dpiy":"60"},"paper":[720,288]}' | "$probe" preview --out "$dir/wide.png")
expect "non-square resolution" '{"height":240,"width":1200}' "$out"

# A layout error: its message, exit 0, no file written and none replaced.
printf 'old' >"$dir/kept.png"
out=$(printf '{"fields":{"Label_dpix":"180","Label_dpiy":"180","Label_Prn_Top":"1.5"},"paper":[720,288]}' |
    "$probe" preview --out "$dir/kept.png"; echo "rc=$?")
expect "layout error" '{"error":"'"'"'1.5'"'"' is not a valid integer value"}
rc=0' "$out"
expect "file untouched after an error" old "$(cat "$dir/kept.png")"
printf '{"fields":{"Label_dpix":"x"},"paper":[720,288]}' | "$probe" preview --out "$dir/none.png" >/dev/null
expect "no file after an error" no "$([ -e "$dir/none.png" ] && echo yes || echo no)"

# Wrong use: no --out, or no paper.
"$probe" preview </dev/null >/dev/null 2>&1
expect "usage without --out" 2 $?
printf '{"fields":{}}' | "$probe" preview --out "$dir/x.png" >/dev/null 2>&1
expect "no paper" 1 $?

finish preview
