#!/usr/bin/env bash
# Regenerates the bitmaps in res/ (splash, main view picture, tree image
# strip, ribbon/menu icons).  Everything is drawn from scratch with
# ImageMagick 6 vector primitives; the output is deterministic.
#
#   usage: res/make-images.sh [splash|mainview|tree|icons|desktop ...]
#          (no argument: everything; may be run from any directory)
set -euo pipefail

IM=/usr/bin/convert
FONT=/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf
FONTB=/usr/share/fonts/truetype/dejavu/DejaVuSans-Bold.ttf
FONTI=/usr/share/fonts/truetype/dejavu/DejaVuSans-Oblique.ttf

cd "$(dirname "$0")"
mkdir -p icons
TMP=$(mktemp -d)
trap 'rm -rf "$TMP"' EXIT

# PNG output without time stamps or other variable chunks.
PNGOPTS=(-strip -define png:exclude-chunks=date,time -define png:compression-level=9)

# ---------------------------------------------------------------------------
# Ply stack generator: prints MVG for a stack of plies seen from above in an
# axonometric view (painter's order, lowest ply first).  Lengths in pixels.
#   ox,oy    left corner of the top face of the uppermost ply
#   exx,exy  screen vector of the ply 1-axis (fibre angle 0) per unit length
#   eyx,eyy  screen vector of the ply 2-axis (fibre angle 90) per unit length
#   S edge length, t thickness, gap vertical pitch of the plies
#   sp fibre pitch, fw fibre width, ow outline width, ins fibre inset
#   angles/fills/fibres/lefts/rights: comma lists, uppermost ply first
# ---------------------------------------------------------------------------
cat > "$TMP/stack.awk" <<'AWK'
function clipdraw(cu, cv, du, dv, lo, hi,    s0, s1, a, b, tmp) {
    s0 = -1e9; s1 = 1e9
    if (du * du < 1e-12) { if (cu < lo || cu > hi) return }
    else { a = (lo - cu) / du; b = (hi - cu) / du; if (a > b) { tmp = a; a = b; b = tmp }
           if (a > s0) s0 = a; if (b < s1) s1 = b }
    if (dv * dv < 1e-12) { if (cv < lo || cv > hi) return }
    else { a = (lo - cv) / dv; b = (hi - cv) / dv; if (a > b) { tmp = a; a = b; b = tmp }
           if (a > s0) s0 = a; if (b < s1) s1 = b }
    if (s1 - s0 < 0.5) return
    printf "line %.2f,%.2f %.2f,%.2f\n", \
        X0 + (cu + s0 * du) * exx + (cv + s0 * dv) * eyx, Y0 + (cu + s0 * du) * exy + (cv + s0 * dv) * eyy, \
        X0 + (cu + s1 * du) * exx + (cv + s1 * dv) * eyx, Y0 + (cu + s1 * du) * exy + (cv + s1 * dv) * eyy
}
function ply(i,    Lx, Ly, Bx, By, Rx, Ry, Tx, Ty, th, du, dv, k, cu, cv) {
    Lx = ox; Ly = oy + (i - 1) * gap
    Bx = Lx + S * exx; By = Ly + S * exy
    Rx = Bx + S * eyx; Ry = By + S * eyy
    Tx = Lx + S * eyx; Ty = Ly + S * eyy
    printf "stroke none\nfill %s\npolygon %.2f,%.2f %.2f,%.2f %.2f,%.2f %.2f,%.2f\n", SL[i], Lx, Ly, Bx, By, Bx, By + t, Lx, Ly + t
    printf "fill %s\npolygon %.2f,%.2f %.2f,%.2f %.2f,%.2f %.2f,%.2f\n", SR[i], Bx, By, Rx, Ry, Rx, Ry + t, Bx, By + t
    printf "fill %s\npolygon %.2f,%.2f %.2f,%.2f %.2f,%.2f %.2f,%.2f\n", F[i], Lx, Ly, Bx, By, Rx, Ry, Tx, Ty
    X0 = Lx; Y0 = Ly
    th = A[i] * 3.14159265358979 / 180; du = cos(th); dv = sin(th)
    printf "fill none\nstroke %s\nstroke-width %.2f\nstroke-linecap round\n", C[i], fw
    for (k = 0; k < 400; k++) {
        cu = S / 2 - (k + 0.5) * sp * dv; cv = S / 2 + (k + 0.5) * sp * du; clipdraw(cu, cv, du, dv, ins, S - ins)
        cu = S / 2 + (k + 0.5) * sp * dv; cv = S / 2 - (k + 0.5) * sp * du; clipdraw(cu, cv, du, dv, ins, S - ins)
    }
    if (ow > 0) {
        printf "stroke %s\nstroke-width %.2f\nstroke-linejoin round\n", outline, ow
        printf "polygon %.2f,%.2f %.2f,%.2f %.2f,%.2f %.2f,%.2f\n", Lx, Ly, Bx, By, Rx, Ry, Tx, Ty
        printf "polyline %.2f,%.2f %.2f,%.2f %.2f,%.2f %.2f,%.2f %.2f,%.2f\n", Lx, Ly, Lx, Ly + t, Bx, By + t, Rx, Ry + t, Rx, Ry
        printf "line %.2f,%.2f %.2f,%.2f\n", Bx, By, Bx, By + t
    }
}
BEGIN {
    n = split(angles, A, ","); split(fills, F, ","); split(fibres, C, ",")
    split(lefts, SL, ","); split(rights, SR, ",")
    if (ins == "") ins = 0
    if (ow == "") ow = 0
    for (i = n; i >= 1; i--) ply(i)
}
AWK

stack() { awk "$@" -f "$TMP/stack.awk"; }

# Arrow from (x1,y1) to (x2,y2) with a filled head of length h (MVG).
arrow() {
    awk -v x1="$1" -v y1="$2" -v x2="$3" -v y2="$4" -v h="$5" -v c="$6" -v w="$7" 'BEGIN {
        dx = x2 - x1; dy = y2 - y1; l = sqrt(dx * dx + dy * dy); ux = dx / l; uy = dy / l
        bx = x2 - ux * h; by = y2 - uy * h
        printf "fill none\nstroke %s\nstroke-width %.2f\nline %.2f,%.2f %.2f,%.2f\n", c, w, x1, y1, bx, by
        printf "stroke none\nfill %s\npolygon %.2f,%.2f %.2f,%.2f %.2f,%.2f\n", c, x2, y2, \
            bx - uy * h * 0.38, by + ux * h * 0.38, bx + uy * h * 0.38, by - ux * h * 0.38 }'
}

# ===========================================================================
# mainview.png (613 x 502): exploded laminate with ply angles and a hint.
# Drawn at twice the size and reduced; text is set at final resolution.
# ===========================================================================
mainview() {
    local mvg="$TMP/mainview.mvg" ox=62 oy=126 S=230 gap=80
    {
        # dashed construction lines joining the ply corners
        echo "fill none stroke #a9b4c2 stroke-width 0.8 stroke-dasharray 4 3"
        awk -v ox=$ox -v oy=$oy -v S=$S -v g=$gap 'BEGIN {
            printf "line %.2f,%.2f %.2f,%.2f\n", ox, oy, ox, oy + 3 * g
            printf "line %.2f,%.2f %.2f,%.2f\n", ox + 1.84 * S, oy, ox + 1.84 * S, oy + 3 * g
            printf "line %.2f,%.2f %.2f,%.2f\n", ox + 0.92 * S, oy + 0.27 * S, ox + 0.92 * S, oy + 0.27 * S + 3 * g }'
        echo "stroke-dasharray none"
        stack -v ox=$ox -v oy=$oy -v exx=0.92 -v exy=0.27 -v eyx=0.92 -v eyy=-0.27 \
              -v S=$S -v t=7 -v gap=$gap -v sp=9 -v fw=0.9 -v ow=1.2 -v outline='#2f3f52' \
              -v angles="0,45,-45,90" \
              -v fills="#d6e4f3,#dcebdc,#f3e6cf,#e6def0" \
              -v fibres="#4a6f99,#4f8052,#9a7440,#6d5a8e" \
              -v lefts="#8fa7c2,#94b496,#c4a97f,#a898c0" \
              -v rights="#b4c6da,#b8d0b9,#dbc7a5,#c6bbd8"
        # leader lines to the angle labels
        awk -v ox=$ox -v oy=$oy -v S=$S -v g=$gap 'BEGIN {
            printf "fill none\nstroke #5b6b7f\nstroke-width 1\n"
            for (i = 0; i < 4; i++) {
                x = ox + 1.84 * S; y = oy + i * g
                printf "line %.2f,%.2f %.2f,%.2f\n", x + 6, y, x + 34, y
                printf "stroke none\nfill #5b6b7f\ncircle %.2f,%.2f %.2f,%.2f\nfill none\nstroke #5b6b7f\n", x + 34, y, x + 36, y }}'
        # coordinate triad (x = 0 deg fibre direction)
        arrow $ox 74 $((ox + 40)) 85.7 8 '#34495e' 1.4
        arrow $ox 74 $((ox + 40)) 62.3 8 '#34495e' 1.4
        arrow $ox 74 $ox 34 8 '#34495e' 1.4
    } > "$mvg"
    local rx=$(awk -v ox=$ox -v S=$S 'BEGIN { printf "%d", ox + 1.84 * S + 42 }')
    $IM -size 1226x1004 xc:white -draw "affine 2,0,0,2,0,0 $(cat "$mvg")" -resize 50% \
        -fill '#22303f' -font "$FONTB" -pointsize 17 \
        -annotate +$rx+$((oy + 6))            '0°' \
        -annotate +$rx+$((oy + 6 + gap))      '45°' \
        -annotate +$rx+$((oy + 6 + 2 * gap))  '-45°' \
        -annotate +$rx+$((oy + 6 + 3 * gap))  '90°' \
        -fill '#34495e' -font "$FONTI" -pointsize 12 \
        -annotate +$((ox + 44))+93 'x' -annotate +$((ox + 44))+64 'y' -annotate +$((ox + 6))+40 'z' \
        -fill none -stroke '#c5ced8' -strokewidth 1 -draw 'line 24,458 589,458' -stroke none \
        -fill '#34495e' -font "$FONT" -pointsize 13 -gravity south \
        -annotate +0+17 'Set the number of laminae on the ribbon and choose a lamina in the Main Menu' \
        -type TrueColor "${PNGOPTS[@]}" PNG24:mainview.png
}

# ===========================================================================
# Splash.bmp (480 x 300, 24-bit BMP3): program name, subtitle, a tensile
# curve with its chord-modulus segment, a laminate stack and the version.
# ===========================================================================
splash() {
    local mvg="$TMP/splash.mvg"
    {
        # faint engineering grid
        echo "fill none stroke #ffffff stroke-opacity 0.045 stroke-width 1"
        awk 'BEGIN { for (x = 10; x < 480; x += 20) printf "line %d,0 %d,300\n", x, x
                     for (y = 10; y < 300; y += 20) printf "line 0,%d 480,%d\n", y, y }'
        echo "stroke-opacity 1"
        # accent rule under the title
        echo "stroke #5f9bd6 stroke-width 2 line 30,137 272,137"
        # stress-strain curve: axes, curve, failure drop, chord segment
        arrow 34 262 206 262 7 '#8fa9c6' 1.2
        arrow 34 262 34 166 7 '#8fa9c6' 1.2
        awk 'BEGIN {
            printf "fill none\nstroke #d7e6f5\nstroke-width 1.8\nstroke-linejoin round\npolyline"
            for (i = 0; i <= 60; i++) { e = i * 2.5; printf " %.2f,%.2f", 34 + e, 262 - 80 * (1 - exp(-e / 62)) }
            e = 150; printf " %.2f,%.2f\n", 36 + e, 262 - 80 * (1 - exp(-e / 62)) + 22
            e1 = 10; e2 = 40
            x1 = 34 + e1; y1 = 262 - 80 * (1 - exp(-e1 / 62)); x2 = 34 + e2; y2 = 262 - 80 * (1 - exp(-e2 / 62))
            printf "stroke #5f9bd6\nstroke-width 1.2\nstroke-dasharray 3 2\n"
            printf "line %.2f,%.2f %.2f,262\nline %.2f,%.2f %.2f,262\nstroke-dasharray none\n", x1, y1, x1, x2, y2, x2
            printf "stroke none\nfill #f2c14e\ncircle %.2f,%.2f %.2f,%.2f\ncircle %.2f,%.2f %.2f,%.2f\n", x1, y1, x1 + 2.6, y1, x2, y2, x2 + 2.6, y2 }'
        stack -v ox=244 -v oy=160 -v exx=0.92 -v exy=0.27 -v eyx=0.92 -v eyy=-0.27 \
              -v S=118 -v t=5 -v gap=20 -v sp=6 -v fw=0.7 -v ow=0.9 -v outline='#0e1a2b' \
              -v angles="0,45,-45,90" \
              -v fills="#cfdff1,#d3e7d4,#efe0c4,#e0d6ee" \
              -v fibres="#4a6f99,#4f8052,#9a7440,#6d5a8e" \
              -v lefts="#7f98b6,#84a587,#b59a70,#9789b2" \
              -v rights="#a9bdd4,#adc8ae,#d2bc96,#bcb0d2"
    } > "$mvg"
    $IM -size 960x600 gradient:'#27486f-#111e31' -draw "affine 2,0,0,2,0,0 $(cat "$mvg")" -resize 50% \
        -fill white -font "$FONTB" -pointsize 46 -annotate +27+98 'Plyforge' \
        -fill '#c9d8ea' -font "$FONT" -pointsize 14 -annotate +30+124 'Laminate & tensile-test evaluation' \
        -fill '#8fa9c6' -font "$FONTI" -pointsize 11 -annotate +20+174 'σ' -annotate +200+278 'ε' \
        -fill '#9fb3c8' -font "$FONT" -pointsize 11 -gravity southeast -annotate +22+14 'Version 1.0' -gravity northwest \
        -alpha off -type TrueColor -compress None BMP3:Splash.bmp
}

# ===========================================================================
# Icons.  Each icon is written in MVG in its own pixel units (integer
# coordinates are pixel edges, so 1-px strokes sit on .5), rendered 8x
# larger and box-filtered down, which gives crisp but antialiased shapes.
#   render SIZE OUTFILE < mvg      -> 32-bit PNG with alpha
# ===========================================================================
render() {
    local size=$1 out=$2 big=$(( $1 * 8 ))
    $IM -size ${big}x${big} xc:'#FF00FF00' -font "$FONTB" \
        -draw "affine 8,0,0,8,0,0 stroke-linejoin round $(cat)" \
        -filter box -resize ${size}x${size} \
        "${PNGOPTS[@]}" PNG32:"$out"
}

# five-pointed star: cx cy outer-radius inner-radius fill stroke width
star() {
    awk -v cx="$1" -v cy="$2" -v R="$3" -v r="$4" -v f="$5" -v s="$6" -v w="$7" 'BEGIN {
        printf "fill %s\nstroke %s\nstroke-width %.2f\npolygon", f, s, w
        for (i = 0; i < 10; i++) { a = (-90 + i * 36) * 3.14159265358979 / 180; q = (i % 2) ? r : R
                                   printf " %.3f,%.3f", cx + q * cos(a), cy + q * sin(a) }
        printf "\n" }'
}

# --- shared 16-px shapes ----------------------------------------------------
FOLDER_CLOSED='
fill #e2ad2e stroke #a87a14 stroke-width 1
polygon 1.5,2.5 6,2.5 7.5,4.5 14.5,4.5 14.5,13.5 1.5,13.5
fill #f7cf57 stroke #a87a14
polygon 1.5,6.5 14.5,6.5 14.5,13.5 1.5,13.5
stroke #fde89c line 2.5,7.5 13.5,7.5'
FOLDER_OPEN='
fill #e2ad2e stroke #a87a14 stroke-width 1
polygon 1.5,2.5 6,2.5 7.5,4.5 13.5,4.5 13.5,13.5 1.5,13.5
fill #fbfbf7 stroke #b9b9b0 polygon 3.5,5.5 12.5,5.5 12.5,11 3.5,11
fill #f7cf57 stroke #a87a14
polygon 1.5,13.5 4,7.5 15.5,7.5 13.5,13.5'
# lamina item: a sheet with a folded corner carrying 45-degree fibres,
# drawn pixel by pixel so the diagonals stay crisp at 16 px
lamina16() {   # sheet-fill fibre-colour outline fold-fill
    cat <<MVG
fill $1 stroke $3 stroke-width 1
polygon 2.5,1.5 10,1.5 13.5,5 13.5,14.5 2.5,14.5
stroke none fill $2
MVG
    awk 'BEGIN { for (k = 8; k <= 24; k += 4) for (x = 3; x <= 12; x++) { y = k - x
                   if (y < 2 || y > 13 || (x >= 9 && y <= 5)) continue
                   printf "rectangle %d,%d %d,%d\n", x, y, x + 1, y + 1 } }'
    cat <<MVG
fill $4 stroke $3 stroke-width 1
polygon 10,1.5 10,5 13.5,5
MVG
}
PRINTER='
fill #ffffff stroke #7b8794 stroke-width 1
rectangle 4.5,1.5 11.5,7
fill #8795a4 stroke #4b5764
roundrectangle 1.5,5.5 14.5,11.5 1.5,1.5
stroke #aab6c2 line 2.5,6.6 13.5,6.6
stroke none fill #4b5764 rectangle 3.5,9 12.5,10.2
fill #5ad06b circle 12.6,7.9 13.3,7.9'

icons() {
    # --- 16 px ---------------------------------------------------------------
    { echo 'fill none stroke-linecap round stroke #1c6b30 stroke-width 3.4
            polyline 3,8.6 6.6,12.2 13.2,4.4
            stroke #43c25e stroke-width 1.9
            polyline 3,8.6 6.6,12.2 13.2,4.4'; } | render 16 icons/apply16.png

    { echo "$FOLDER_OPEN"; } | render 16 icons/open16.png

    { echo 'fill #3d72bb stroke #21487e stroke-width 1
            polygon 1.5,1.5 12.5,1.5 14.5,3.5 14.5,14.5 1.5,14.5
            fill #dfe5ec stroke none rectangle 4,2 11.5,6
            fill #3d72bb rectangle 9,3 10.5,5
            fill #ffffff stroke #c9d3de rectangle 3.5,8.5 12.5,14
            stroke #9fb0c3 line 5,10.5 11,10.5 line 5,12.3 11,12.3'; } | render 16 icons/save16.png

    { echo 'fill #ffffff stroke #6c7a89 stroke-width 1
            polygon 3.5,1.5 10,1.5 13.5,5 13.5,14.5 3.5,14.5
            fill #dfe6ee polygon 10,1.5 10,5 13.5,5'
      star 5 5 4.6 1.9 '#f6c23c' '#b07d09' 0.8; } | render 16 icons/new16.png

    { echo "$PRINTER"
      echo 'fill #ffffff stroke #7b8794 stroke-width 1 rectangle 4.5,9.5 11.5,14.5
            stroke #b5c0cb line 6,11.5 10,11.5 line 6,13 9,13'; } | render 16 icons/print16.png

    { echo "$PRINTER"
      echo 'fill #ffffff stroke #7b8794 stroke-width 1 rectangle 3.5,9.5 9.5,14.5
            fill #f8c630 stroke #9a6a00 stroke-width 0.8
            polygon 12.4,6.6 9.6,11 11.6,11 10.7,15 14.7,9.6 12.5,9.6 13.8,6.6'; } | render 16 icons/quickprint16.png

    { echo 'fill #3b78c4 stroke #214d86 stroke-width 1 circle 8,8 8,14.5
            fill #ffffff stroke none font-size 11.5 text 4.7,12.2 "?"'; } | render 16 icons/about16.png

    { echo 'fill #e9cf9c stroke #94733a stroke-width 1 fill-rule evenodd
            path "M 1.5,8 A 6.5,6 0 1,1 14.5,8 A 6.5,6 0 1,1 1.5,8 Z M 9.3,11.2 A 1.6,1.6 0 1,0 12.5,11.2 A 1.6,1.6 0 1,0 9.3,11.2 Z"
            fill-rule nonzero stroke #00000066 stroke-width 0.5
            fill #e0413a circle 4.4,9.3 4.4,10.8
            fill #f3c531 circle 4.7,5.4 4.7,6.9
            fill #3c7fd0 circle 8.3,3.8 8.3,5.3
            fill #3fae4f circle 11.9,5.6 11.9,7.1'; } | render 16 icons/style16.png

    # --- 32 px ---------------------------------------------------------------
    { echo 'fill #00000022 stroke none polygon 8,5 23,5 28,10 28,31 8,31
            fill #ffffff stroke #6c7a89 stroke-width 1
            polygon 6.5,3.5 21.5,3.5 26.5,8.5 26.5,29.5 6.5,29.5
            fill #dfe6ee polygon 21.5,3.5 21.5,8.5 26.5,8.5'
      star 8.5 9 7.8 3.3 '#f6c23c' '#b07d09' 1; } | render 32 icons/new32.png

    { echo 'fill #00000022 stroke none roundrectangle 7.5,3.5 27.5,31.5 3,3
            fill #3c7bc8 stroke #1f4f8c stroke-width 1
            roundrectangle 5.5,1.5 25.5,29.5 3,3
            fill #e3f1ff stroke #1f4f8c rectangle 8.5,4.5 22.5,11.5
            fill #1f4f8c stroke none rectangle 13,7 21,9
            fill #e8f1fb stroke #1f4f8c stroke-width 0.8
            roundrectangle 8.5,14.5 11.5,17.5 0.6,0.6
            roundrectangle 13.5,14.5 16.5,17.5 0.6,0.6
            roundrectangle 18.5,14.5 21.5,17.5 0.6,0.6
            roundrectangle 8.5,19.5 11.5,22.5 0.6,0.6
            roundrectangle 13.5,19.5 16.5,22.5 0.6,0.6
            roundrectangle 18.5,19.5 21.5,22.5 0.6,0.6
            roundrectangle 8.5,24.5 11.5,27.5 0.6,0.6
            roundrectangle 13.5,24.5 16.5,27.5 0.6,0.6
            fill #f2a33a stroke #a8620f roundrectangle 18.5,24.5 21.5,27.5 0.6,0.6'; } | render 32 icons/calculate32.png

    { arrow 4.5 28.5 4.5 2.5 4 '#3d4b5a' 1.4
      arrow 4.5 28.5 30.5 28.5 4 '#3d4b5a' 1.4
      awk 'BEGIN { printf "fill none\nstroke #1f7a35\nstroke-width 2.4\nstroke-linecap round\npolyline"
                   for (i = 0; i <= 40; i++) { e = i * 0.55; printf " %.2f,%.2f", 5 + e, 28.5 - 22 * (1 - exp(-e / 9)) }
                   printf " %.2f,%.2f\n", 27.5, 28.5 - 22 * (1 - exp(-22 / 9)) + 5
                   printf "stroke #49c463\nstroke-width 1.1\npolyline"
                   for (i = 0; i <= 40; i++) { e = i * 0.55; printf " %.2f,%.2f", 5 + e, 28.5 - 22 * (1 - exp(-e / 9)) }
                   printf " %.2f,%.2f\n", 27.5, 28.5 - 22 * (1 - exp(-22 / 9)) + 5 }'
      echo 'fill #1f7a35 stroke none font-size 12 text 7.5,12 "σ"'; } | render 32 icons/calculate_exp32.png

    { echo 'fill #00000022 stroke none circle 17,17 17,31
            fill #3b78c4 stroke #214d86 stroke-width 1 circle 16,16 16,2.5
            fill #ffffff stroke none circle 16,9.2 16,11.5
            polygon 12.5,13.5 18,13.5 18,22.5 20,22.5 20,24.5 12,24.5 12,22.5 14,22.5 14,15.5 12.5,15.5'; } | render 32 icons/version32.png

    # application button: a blue orb carrying a small white ply stack
    { echo 'fill #2b5f9e stroke #163a66 stroke-width 1 circle 16,16 16,1.5
            fill #ffffff22 stroke none ellipse 16,9.5 11,6.5 0,360'
      stack -v ox=5.5 -v oy=12.5 -v exx=0.9 -v exy=0.3 -v eyx=0.9 -v eyy=-0.3 -v S=11.7 -v t=1.2 -v gap=4.2 \
            -v sp=100 -v fw=0.1 -v ow=0.8 -v outline='#0f2a4a' -v angles="0,0,0" \
            -v fills="#ffffff,#e3edf8,#c9dbef" -v fibres="#ffffff,#ffffff,#ffffff" \
            -v lefts="#9db6d3,#9db6d3,#9db6d3" -v rights="#bcd0e6,#bcd0e6,#bcd0e6"; } | render 32 icons/appbutton32.png

    # program icon: a ply stack on a dark blue tile
    appicon | render 64 icons/app64.png
}

# The program icon in 64-pixel units: a ply stack on a dark blue tile.
appicon() {
    echo 'fill #1b3352 stroke none roundrectangle 1,1.5 63,63.5 12,12
          fill #274b76 stroke #10223a stroke-width 1 roundrectangle 0.5,0.5 63.5,62.5 12,12
          fill #ffffff10 stroke none roundrectangle 1.5,1.5 62.5,31 11,11'
    stack -v ox=7 -v oy=22 -v exx=0.92 -v exy=0.32 -v eyx=0.92 -v eyy=-0.32 -v S=27 -v t=3 -v gap=7.5 \
          -v sp=4.6 -v fw=1.0 -v ow=0.9 -v outline='#0e1a2b' -v angles="0,45,-45,90" \
          -v fills="#cfdff1,#d3e7d4,#efe0c4,#e0d6ee" \
          -v fibres="#4a6f99,#4f8052,#9a7440,#6d5a8e" \
          -v lefts="#7f98b6,#84a587,#b59a70,#9789b2" \
          -v rights="#a9bdd4,#adc8ae,#d2bc96,#bcb0d2"
}

# The subset of MVG the program icon uses, written as SVG in the same 64-unit box.
mvg2svg() {
    tr -s ' \t' '\n\n' | awk -v size="$1" '
        function hex(h) { return index("0123456789abcdef", tolower(substr(h, 1, 1))) * 16 + index("0123456789abcdef", tolower(substr(h, 2, 1))) - 17 }
        function colour(c, what,    a) {
            if (c == "none") return what "=\"none\""
            if (length(c) == 9) { a = sprintf("%.3f", hex(substr(c, 8, 2)) / 255)
                                  return what "=\"" substr(c, 1, 7) "\" " what "-opacity=\"" a "\"" }
            return what "=\"" c "\""
        }
        function style() { return colour(fill, "fill") " " colour(stroke, "stroke") " stroke-width=\"" sw \
                                  "\" stroke-linecap=\"" cap "\" stroke-linejoin=\"" join "\"" }
        function points(n,    i, p, out) { out = ""; for (i = 1; i <= n; i++) { getline p; out = out (i > 1 ? " " : "") p }; return out }
        BEGIN { fill = "#000000"; stroke = "none"; sw = 1; cap = "butt"; join = "round"
                printf "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"%d\" height=\"%d\" viewBox=\"0 0 64 64\">\n", size, size }
        $0 == "" { next }
        $0 == "fill" { getline fill; next }
        $0 == "stroke" { getline stroke; next }
        $0 == "stroke-width" { getline sw; next }
        $0 == "stroke-linecap" { getline cap; next }
        $0 == "stroke-linejoin" { getline join; next }
        $0 == "roundrectangle" { getline a; getline b; getline r; split(a, p, ","); split(b, q, ","); split(r, k, ",")
            printf "<rect x=\"%s\" y=\"%s\" width=\"%g\" height=\"%g\" rx=\"%s\" ry=\"%s\" %s/>\n", p[1], p[2], q[1] - p[1], q[2] - p[2], k[1], k[2], style(); next }
        $0 == "line" { getline a; getline b; split(a, p, ","); split(b, q, ",")
            printf "<line x1=\"%s\" y1=\"%s\" x2=\"%s\" y2=\"%s\" %s/>\n", p[1], p[2], q[1], q[2], style(); next }
        $0 == "polygon" { printf "<polygon points=\"%s\" %s/>\n", points(4), style(); next }
        $0 == "polyline" { printf "<polyline points=\"%s\" %s/>\n", points(5), style(); next }
        { print "mvg2svg: cannot translate \"" $0 "\"" > "/dev/stderr"; exit 1 }
        END { print "</svg>" }'
}

# ===========================================================================
# The desktop icons of an installation: 48 and 256 pixel PNGs and a scalable SVG.
# ===========================================================================
desktop() {
    local size
    for size in 48 256; do
        appicon | sed "1s/^/affine $(awk -v s=$size 'BEGIN { printf "%g,0,0,%g,0,0", s / 64, s / 64 }') /" \
            | render $size linux/plyforge-$size.png
    done
    appicon | mvg2svg 256 > linux/plyforge.svg
}

# ===========================================================================
# tree16.png: strip of 20 tree images, 16 x 16 each.  Real alpha; the
# colour of every fully transparent pixel is also set to magenta #FF00FF so
# a colour-keyed loader gets the same result.
#   0 lamina  1 lamina (selected)  13 open folder  14 closed folder
#   every other slot: a neutral placeholder bullet
# ===========================================================================
tree() {
    local i parts=()
    for i in $(seq 0 19); do
        case $i in
            0)  lamina16 '#ffffff' '#6f8fb3' '#6c7a89' '#dfe6ee' ;;
            1)  lamina16 '#cfe3fb' '#1d5fae' '#1d4f91' '#a9c8ef' ;;
            13) echo "$FOLDER_OPEN" ;;
            14) echo "$FOLDER_CLOSED" ;;
            *)  echo 'fill #d5dbe2 stroke #8a96a3 stroke-width 1 circle 8,8 8,4.5' ;;
        esac | render 16 "$TMP/tree$i.png"
        parts+=("$TMP/tree$i.png")
    done
    $IM "${parts[@]}" -background '#FF00FF00' +append \
        -channel R -fx 'a==0 ? 1 : u' -channel G -fx 'a==0 ? 0 : u' -channel B -fx 'a==0 ? 1 : u' +channel \
        "${PNGOPTS[@]}" PNG32:tree16.png
}

# ===========================================================================
all="splash mainview tree icons desktop"
for target in ${@:-$all}; do
    case $target in
        splash|mainview|tree|icons|desktop) "$target" ;;
        *) echo "unknown target: $target (use: $all)" >&2; exit 2 ;;
    esac
done
