#!/usr/bin/env bash
# Draws the 37 pictures of the birthday register (64 x 64 PNG) into
# resources/pictures/birthday: the zodiac signs as glyphs on coloured discs
# (the serpent bearer, which no installed font carries, drawn by hand), the
# twelve animals as their kanji on a round seal, and the twelve birthstones
# as faceted gems in the stone's colour. Needs ImageMagick, fonts-dejavu-core
# and fonts-noto-cjk. Re-run after changing this script; the PNGs are kept in
# the repository.
set -euo pipefail

out="$(cd "$(dirname "$0")/.." && pwd)/resources/pictures/birthday"
mkdir -p "$out"
glyph_font=/usr/share/fonts/truetype/dejavu/DejaVuSans-Bold.ttf
kanji_font=/usr/share/fonts/opentype/noto/NotoSansCJK-Bold.ttc

# Writes a PNG without time stamps, so that runs give the same bytes.
save() { convert "${@:1:$#-1}" -strip -define png:exclude-chunks=date,time "${!#}"; }

disc() {  # name colour glyph
    save -size 64x64 xc:none -fill "$2" -stroke '#303030' -strokewidth 2 \
        -draw 'circle 32,32 32,3' -stroke none -fill white -font "$glyph_font" \
        -pointsize 38 -gravity center -annotate +0+1 "$3" "$out/$1.png"
}

disc midugame '#3f7fd0' '♒'
disc uo '#4aa3a0' '♓'
disc ohituji '#d04a3f' '♈'
disc ousi '#6b9e3a' '♉'
disc hutago '#d0a23f' '♊'
disc kani '#7f8fa6' '♋'
disc sisi '#e07b1f' '♌'
disc otome '#a05fb0' '♍'
disc tenbin '#3fa07f' '♎'
disc sasori '#8f2f4f' '♏'
disc ite '#5f4fb0' '♐'
disc yagi '#6f5a3f' '♑'
# The serpent bearer: a serpent's wave over an open arch.
save -size 64x64 xc:none -fill '#2f7f5f' -stroke '#303030' -strokewidth 2 \
    -draw 'circle 32,32 32,3' -fill none -stroke white -strokewidth 5 \
    -draw 'path "M 14,22 C 20,12 26,12 32,22 C 38,32 44,32 50,22"' \
    -draw 'path "M 18,50 L 24,50 C 16,42 18,30 32,30 C 46,30 48,42 40,50 L 46,50"' \
    "$out/hebitukai.png"

seal() {  # name kanji
    save -size 64x64 xc:none -fill '#fff6e0' -stroke '#b03020' -strokewidth 3 \
        -draw 'circle 32,32 32,4' -stroke none -fill '#b03020' -font "$kanji_font" \
        -pointsize 36 -gravity center -annotate +0+0 "$2" "$out/$1.png"
}

seal ne '子'
seal usi '丑'
seal tora '寅'
seal u '卯'
seal tatu '辰'
seal mi '巳'
seal uma '午'
seal hituji '未'
seal saru '申'
seal tori '酉'
seal inu '戌'
seal i '亥'

# A brilliant-cut stone seen from the side: table, crown facets and the
# pavilion, each facet a shade of the stone's colour.
gem() {  # name dark base light
    save -size 64x64 xc:none -stroke '#202020' -strokewidth 1 \
        -fill "$3" -draw 'polygon 6,24 18,10 46,10 58,24' \
        -fill "$4" -draw 'polygon 22,10 42,10 36,24 28,24' \
        -fill "$2" -draw 'polygon 6,24 18,10 28,24' \
        -fill "$2" -draw 'polygon 58,24 46,10 36,24' \
        -fill "$3" -draw 'polygon 6,24 58,24 32,58' \
        -fill "$2" -draw 'polygon 6,24 28,24 32,58' \
        -fill "$4" -draw 'polygon 36,24 46,24 32,58' \
        -fill white -stroke none -draw 'polygon 26,13 32,13 28,19' \
        "$out/$1.png"
}

gem one '#5a0f16' '#9b1b2a' '#d04a5a'
gem two '#4a2070' '#8a4fc0' '#c4a0e8'
gem three '#3a8fb0' '#7fd0e8' '#c8f0fa'
gem four '#9aa0a8' '#e0e4ea' '#ffffff'
gem five '#0f5a30' '#1f9a55' '#6fd89a'
gem six '#8c98b0' '#d8dcea' '#f6f8ff'
gem seven '#6a0010' '#c0102a' '#f05a70'
gem eight '#5a7a10' '#9ac030' '#d0ee80'
gem nine '#0f2a7a' '#2050c0' '#7fa0f0'
gem ten '#a03a6a' '#e07aa8' '#f8c0dc'
gem eleven '#a06a00' '#e8b020' '#f8e080'
gem twelve '#1f8a8a' '#40c8c0' '#a0ece6'
