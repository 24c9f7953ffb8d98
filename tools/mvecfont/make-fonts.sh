#!/bin/sh
# Remakes the game's font files in assets/fonts from Debian's free fonts
# (fonts-dejavu-core, fonts-dancingscript) with the mvecfont tool.
#   tools/mvecfont/make-fonts.sh BUILD_FOLDER
set -e
tool="${1:?usage: $0 BUILD_FOLDER}/mvecfont"
here="$(cd "$(dirname "$0")/../.." && pwd)"
out="$here/assets/fonts"
sans=/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf
script=/usr/share/fonts/opentype/dancingscript/DancingScript-Regular.otf

"$tool" "$sans" "$out/default.mvec"
"$tool" "$sans" "$out/myriad_pro.mvec"
"$tool" "$script" "$out/edwardian_medium.mvec"
cp /usr/share/doc/fonts-dejavu-core/copyright "$out/LICENSE-DejaVu.txt"
cp /usr/share/doc/fonts-dancingscript/copyright "$out/LICENSE-DancingScript.txt"
