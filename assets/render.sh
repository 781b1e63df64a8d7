#!/usr/bin/env bash
# Renders every picture of «Сессия» from its SVG source in src/ and writes:
#   pictures/      the nineteen scene pictures the game loads at run time
#   start.jpg      the picture shown before the first move
#   dialog.jpg     the picture of the answer confirmation dialog
#   NAME@2x.EXT    each of those again at twice the size, for screens of high pixel density
#   icon.svg, icon.ico (32 x 32, 16 colours), icons/hicolor/...
#   hand.png, hand.cur   the pointing-hand cursor (hot spot 12,1)
#   contact-sheet.png    every picture at real size, with its name and scenes
# then checks sizes and formats of everything it wrote.
#
# Usage: bash assets/render.sh        (from anywhere; works in its own folder)
set -euo pipefail

here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
cd "$here"

# ---------------------------------------------------------------- tools
missing=0
need() { # need COMMAND DEBIAN-PACKAGE
    if ! command -v "$1" >/dev/null 2>&1; then
        echo "render.sh: '$1' not found; install the Debian package '$2' (apt-get install $2)" >&2
        missing=1
    fi
}
need rsvg-convert librsvg2-bin
need convert imagemagick
need identify imagemagick
need montage imagemagick
need python3 python3
# DejaVu Sans labels the contact sheet; its bold face sets the letters of br_196
label_font=/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf
for font in "$label_font" /usr/share/fonts/truetype/dejavu/DejaVuSans-Bold.ttf; do
    if [ ! -f "$font" ]; then
        echo "render.sh: $font not found; install the Debian package 'fonts-dejavu-core'" >&2
        missing=1
    fi
done
[ "$missing" -eq 0 ] || exit 1

tmp="$(mktemp -d)"
trap 'rm -rf "$tmp"' EXIT

# PNG chunks that would change on every run
png_clean=(-strip -define png:exclude-chunks=date,time)

# ---------------------------------------------------------------- helpers
svg_png() { # svg_png SRC.svg W H OUT.png
    rsvg-convert -w "$2" -h "$3" "$1" -o "$4"
}

to_jpeg() { # to_jpeg IN.png OUT.jpg   (baseline, RGB, quality 85)
    convert "$1" -background white -flatten -alpha off \
        -colorspace sRGB -type TrueColor -sampling-factor 2x2 \
        -strip -interlace none -quality 85 "$2"
}

to_gif() { # to_gif IN.png OUT.gif   (single frame, 256-colour palette, no dither)
    convert "$1" -background white -flatten -alpha off \
        +dither -colors 256 -strip -interlace none "$2"
}

# ---------------------------------------------------------------- scene pictures
# file name | width x height | scenes (for the contact sheet)
scenes=(
    "br_196.jpg|241x249|default picture (most scenes)"
    "66.jpg|241x249|S02 student card"
    "br_131.jpg|241x349|S03 autumn call-up"
    "sob.gif|241x249|S05 fortune-teller"
    "babka.jpg|241x249|S06 granny with a saw"
    "bugor.gif|241x249|S08 + S26 left behind, washed away"
    "64.jpg|241x249|S10 the cocktail"
    "mat.gif|241x349|S12 metro dash"
    "roden01.jpg|241x349|S15 the thinker"
    "drs.gif|241x249|S18 + S30 monument / canteen"
    "k6.jpg|241x249|S19 enlistment office"
    "k1.jpg|241x349|S20 cool dude (and dialog)"
    "Safesex.jpg|241x249|S21 paratrooper"
    "5oi.gif|241x249|S22 bearded student"
    "k3.jpg|241x249|S23 the test"
    "1g.gif|241x249|S24 beer with friends"
    "02toon.jpg|241x249|S25 the refusal"
    "Clausmj.jpg|241x249|S29 snow maiden"
    "k5.jpg|241x249|S32 the newspaper"
)

at2x() { # at2x NAME.EXT -> NAME@2x.EXT
    echo "${1%.*}@2x.${1##*.}"
}

picture() { # picture SRC.svg W H OUT.jpg|OUT.gif   (also writes OUT@2x at 2W x 2H)
    local out2x
    out2x="$(at2x "$4")"
    svg_png "$1" "$2" "$3" "$tmp/1x.png"
    svg_png "$1" "$((2 * $2))" "$((2 * $3))" "$tmp/2x.png"
    case "$4" in
        *.jpg) to_jpeg "$tmp/1x.png" "$4"; to_jpeg "$tmp/2x.png" "$out2x" ;;
        *.gif) to_gif "$tmp/1x.png" "$4"; to_gif "$tmp/2x.png" "$out2x" ;;
    esac
    echo "  $4, $out2x"
}

mkdir -p pictures
for entry in "${scenes[@]}"; do
    IFS='|' read -r file size _ <<<"$entry"
    w="${size%x*}"; h="${size#*x}"
    picture "src/${file%.*}.svg" "$w" "$h" "pictures/$file"
done

# ---------------------------------------------------------------- start and dialog pictures
picture src/start.svg 221 154 start.jpg
picture src/dialog.svg 286 205 dialog.jpg

# ---------------------------------------------------------------- icon
cp src/icon.svg icon.svg
mkdir -p icons/hicolor/scalable/apps
cp src/icon.svg icons/hicolor/scalable/apps/sessiya.svg
for n in 16 24 32 48 64 128 192 256 512; do
    mkdir -p "icons/hicolor/${n}x${n}/apps"
    svg_png src/icon.svg "$n" "$n" "$tmp/icon$n.png"
    convert "$tmp/icon$n.png" "${png_clean[@]}" "PNG32:icons/hicolor/${n}x${n}/apps/sessiya.png"
done
echo "  icon.svg, icons/hicolor/*/apps/sessiya.{png,svg}"
# For a phone that cuts the icon to its own shape: on the window's colour, every stroke
# inside the middle circle (40 % of the side) that any such shape keeps.
svg_png src/icon.svg 288 288 "$tmp/icon288.png"
convert -size 512x512 xc:'#efefef' "$tmp/icon288.png" -gravity center -composite \
    "${png_clean[@]}" PNG24:icons/maskable-512.png
echo "  icons/maskable-512.png"

# Writes a Windows icon (type 1) or cursor (type 2) holding one 32 x 32 image
# with a 16-colour palette (4 bits a pixel) and a 1-bit transparency mask.
# Input: raw RGB and raw alpha (8 bits each) of an image already reduced to at
# most 15 opaque colours; palette entry 0 is black and serves transparent pixels.
cat >"$tmp/write_ico.py" <<'PY'
import struct, sys

rgb_path, alpha_path, out_path, kind, hx, hy = sys.argv[1:7]
W = H = 32
rgb = open(rgb_path, 'rb').read()
alpha = open(alpha_path, 'rb').read()
assert len(rgb) == W * H * 3 and len(alpha) == W * H

opaque = [alpha[i] >= 128 for i in range(W * H)]
palette = [(0, 0, 0)]
index = []
for i in range(W * H):
    if not opaque[i]:
        index.append(0)
        continue
    c = tuple(rgb[3 * i:3 * i + 3])
    if c not in palette:
        palette.append(c)
    index.append(palette.index(c))
if len(palette) > 16:
    sys.exit('write_ico: %d colours, at most 16 fit' % len(palette))
palette += [(0, 0, 0)] * (16 - len(palette))

xor = bytearray()
mask = bytearray()
for y in reversed(range(H)):                      # bitmaps are stored bottom-up
    row = index[y * W:(y + 1) * W]
    for x in range(0, W, 2):
        xor.append((row[x] << 4) | row[x + 1])
    bits = 0
    for x in range(W):
        bits = (bits << 1) | (0 if opaque[y * W + x] else 1)
    mask += struct.pack('>I', bits)              # 32 pixels: one 4-byte row

pal = b''.join(struct.pack('<BBBB', b, g, r, 0) for (r, g, b) in palette)
header = struct.pack('<IiiHHIIiiII', 40, W, 2 * H, 1, 4, 0,
                     len(xor) + len(mask), 0, 0, 16, 0)
image = header + pal + bytes(xor) + bytes(mask)

if kind == 'icon':
    typ, f1, f2 = 1, 1, 4                        # planes, bits per pixel
else:
    typ, f1, f2 = 2, int(hx), int(hy)            # hot spot x, y
entry = struct.pack('<BBBBHHII', W, H, 16, 0, f1, f2, len(image), 6 + 16)
open(out_path, 'wb').write(struct.pack('<HHH', 0, typ, 1) + entry + image)
PY

# 32 x 32, 16 colours: flatten the soft edges onto the outline colour, reduce to
# 15 colours without dithering, and cut transparency at half opacity.
convert "$tmp/icon32.png" -background '#2b2340' -flatten -alpha off \
    +dither -colors 15 -depth 8 "rgb:$tmp/icon32.rgb"
convert "$tmp/icon32.png" -alpha extract -threshold 50% -depth 8 "gray:$tmp/icon32.a"
python3 "$tmp/write_ico.py" "$tmp/icon32.rgb" "$tmp/icon32.a" icon.ico icon 0 0
echo "  icon.ico"

# ---------------------------------------------------------------- hand cursor
svg_png src/hand.svg 32 32 "$tmp/hand.png"
convert "$tmp/hand.png" "${png_clean[@]}" PNG8:hand.png
convert "$tmp/hand.png" -background black -flatten -alpha off -depth 8 "rgb:$tmp/hand.rgb"
convert "$tmp/hand.png" -alpha extract -threshold 50% -depth 8 "gray:$tmp/hand.a"
python3 "$tmp/write_ico.py" "$tmp/hand.rgb" "$tmp/hand.a" hand.cur cursor 12 1
echo "  hand.png, hand.cur"

# ---------------------------------------------------------------- checks
fail=0
check() { # check FILE FORMAT WxH
    local got
    got="$(identify -format '%m %wx%h\n' "$1" | head -n 1)"
    if [ "$got" != "$2 $3" ]; then
        echo "CHECK FAILED: $1 is '$got', expected '$2 $3'" >&2
        fail=1
    fi
    case "$2" in
        JPEG)
            if ! grep -q 'Interlace: None' <<<"$(identify -verbose "$1")"; then
                echo "CHECK FAILED: $1 is not a baseline (non-interlaced) JPEG" >&2; fail=1
            fi
            # baseline DCT frame marker FF C0, and three colour components
            if ! python3 - "$1" <<'PY'
import sys
d = open(sys.argv[1], 'rb').read()
i = d.find(b'\xff\xc0')
sys.exit(0 if i > 0 and d[i + 9] == 3 else 1)
PY
            then
                echo "CHECK FAILED: $1 has no baseline frame with 3 components" >&2; fail=1
            fi ;;
        GIF)
            if [ "$(identify "$1" | wc -l)" -ne 1 ]; then
                echo "CHECK FAILED: $1 has more than one frame" >&2; fail=1
            fi ;;
    esac
}
check_both() { # check_both FILE FORMAT W H   (the picture and its @2x)
    check "$1" "$2" "$3x$4"
    check "$(at2x "$1")" "$2" "$((2 * $3))x$((2 * $4))"
}
for entry in "${scenes[@]}"; do
    IFS='|' read -r file size _ <<<"$entry"
    case "$file" in *.jpg) fmt=JPEG ;; *.gif) fmt=GIF ;; esac
    check_both "pictures/$file" "$fmt" "${size%x*}" "${size#*x}"
done
check_both start.jpg JPEG 221 154
check_both dialog.jpg JPEG 286 205
check icon.ico ICO 32x32
check icons/maskable-512.png PNG 512x512
for n in 16 24 32 48 64 128 192 256 512; do
    check "icons/hicolor/${n}x${n}/apps/sessiya.png" PNG "${n}x${n}"
done
check hand.png PNG 32x32
check hand.cur CUR 32x32

if [ "$(identify -format '%[colors]' hand.png)" -gt 16 ]; then
    echo "CHECK FAILED: hand.png has more than 16 colours" >&2; fail=1
fi
if ! grep -q 'Type: PaletteAlpha' <<<"$(identify -verbose hand.png)"; then
    echo "CHECK FAILED: hand.png is not a palette PNG with transparency" >&2; fail=1
fi
# the fingertip: row 0 empty, topmost opaque pixel at (12,1)
tip="$(convert hand.png -alpha extract -threshold 50% -depth 8 gray:- | python3 -c '
import sys
a = sys.stdin.buffer.read()
for i, v in enumerate(a):
    if v:
        print(i % 32, i // 32); break
')"
if [ "$tip" != "12 1" ]; then
    echo "CHECK FAILED: hand.png fingertip at ($tip), expected (12 1)" >&2; fail=1
fi
# icon.ico: 4 bits a pixel; hand.cur: hot spot 12,1 in the directory entry
python3 - <<'PY' || fail=1
import struct, sys
ok = True
d = open('icon.ico', 'rb').read()
bpp = struct.unpack_from('<H', d, 6 + 16 + 14)[0]
if bpp != 4:
    print('CHECK FAILED: icon.ico has %d bits a pixel, expected 4' % bpp, file=sys.stderr); ok = False
c = open('hand.cur', 'rb').read()
typ = struct.unpack_from('<H', c, 2)[0]
hx, hy = struct.unpack_from('<HH', c, 6 + 4)
if typ != 2 or (hx, hy) != (12, 1):
    print('CHECK FAILED: hand.cur type %d hot spot %d,%d' % (typ, hx, hy), file=sys.stderr); ok = False
sys.exit(0 if ok else 1)
PY
[ "$fail" -eq 0 ] || { echo "render.sh: checks failed" >&2; exit 1; }
echo "  checks passed"

# ---------------------------------------------------------------- contact sheet
args=()
for entry in "${scenes[@]}"; do
    IFS='|' read -r file _ what <<<"$entry"
    args+=(-label "$file"$'\n'"$what" "pictures/$file")
done
args+=(-label $'start.jpg\nbefore the first move' start.jpg)
args+=(-label $'dialog.jpg\nanswer dialog' dialog.jpg)
args+=(-label $'sessiya.png 256\nicon' icons/hicolor/256x256/apps/sessiya.png)
args+=(-label $'icon.ico\n32 px, 16 colours' icon.ico)
args+=(-label $'sessiya.png 16\nicon' icons/hicolor/16x16/apps/sessiya.png)
args+=(-label $'hand.png\ncursor, tip 12,1' hand.png)
convert hand.png -scale 400% "$tmp/hand4.png"
args+=(-label $'hand.png x4\n(enlarged to review)' "$tmp/hand4.png")
montage -font "$label_font" -pointsize 11 -background '#d9d9d9' -fill '#222222' \
    "${args[@]}" -tile 6x -geometry '286x349>+8+8' "$tmp/sheet.png"
convert "$tmp/sheet.png" -depth 8 "${png_clean[@]}" contact-sheet.png
echo "  contact-sheet.png"
