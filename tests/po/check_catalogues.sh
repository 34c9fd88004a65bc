#!/bin/sh
# check_catalogues.sh SOURCE_DIR
# Compares the texts of the code (what xgettext finds in src/ under tr() and N_()) with
# po/nevalt.pot and with every po/<language>.po, and every Japanese string of the code with the
# catalogues: a text the game shows without an entry would stay Japanese in that language.
set -eu
SRC=$1
T=$(mktemp -d)
trap 'rm -rf "$T"' EXIT
export LC_ALL=C.UTF-8
fail() {
  echo "FAIL: $*" >&2
  exit 1
}

# The strings of the game that are never shown: the font's name, which fontconfig is asked for.
NOT_SHOWN='ＭＳ ゴシック'

# The msgids of a catalogue, one a line as the file writes them (escapes kept), without the header
# and without the entries a catalogue keeps as obsolete.
ids() {
  awk '
    /^msgid "/ { id = substr($0, 8, length($0) - 8); open = 1; next }
    /^"/ && open { id = id substr($0, 2, length($0) - 2); next }
    open { if (id != "") print id; open = 0 }
    END { if (open && id != "") print id }
  ' "$1" | sort -u
}

cmake -DSOURCE_DIR="$SRC" -DOUTPUT="$T/code.pot" -P "$SRC/po/extract.cmake"
ids "$T/code.pot" >"$T/code.ids"
[ -s "$T/code.ids" ] || fail "xgettext found no text in $SRC/src"

ids "$SRC/po/nevalt.pot" >"$T/pot.ids"
if ! cmp -s "$T/code.ids" "$T/pot.ids"; then
  diff "$T/pot.ids" "$T/code.ids" >&2 || true
  fail "po/nevalt.pot is not the code's texts (> new in the code, < gone from it): run" \
    "cmake --build build --target update-po and translate what is new"
fi

cmake -DSOURCE_DIR="$SRC" -DOUTPUT="$T/all.pot" -DALL=ON -P "$SRC/po/extract.cmake"
ids "$T/all.pot" | grep -P '[\x{3000}-\x{30FF}\x{31F0}-\x{31FF}\x{3400}-\x{4DBF}\x{4E00}-\x{9FFF}\x{F900}-\x{FAFF}\x{FF00}-\x{FFEF}]' |
  grep -vxF "$NOT_SHOWN" >"$T/japanese.ids" || true
[ -s "$T/japanese.ids" ] || fail "no Japanese string found in the code: the search is broken"

found=0
for po in "$SRC"/po/*.po; do
  found=1
  name=$(basename "$po")
  msgfmt --check -o /dev/null "$po" || fail "$name: msgfmt --check"
  [ -z "$(msgattrib --only-fuzzy --no-obsolete "$po")" ] || fail "$name: fuzzy entries left"
  msgattrib --translated --no-fuzzy --no-obsolete "$po" -o "$T/translated.po"
  ids "$T/translated.po" >"$T/translated.ids"
  missing=$(comm -23 "$T/code.ids" "$T/translated.ids")
  [ -z "$missing" ] || fail "$name: the code's texts without a translation: $missing"
  unused=$(comm -13 "$T/code.ids" "$T/translated.ids")
  [ -z "$unused" ] || fail "$name: entries of texts the code no longer has: $unused"
  unlisted=$(comm -23 "$T/japanese.ids" "$T/translated.ids")
  [ -z "$unlisted" ] ||
    fail "$name: Japanese texts of the code outside the catalogue (mark them N_() or tr()): $unlisted"
done
[ "$found" = 1 ] || fail "no catalogue in $SRC/po"
echo "text catalogues: $(wc -l <"$T/code.ids") texts, each translated in every catalogue"
