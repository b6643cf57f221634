#!/usr/bin/env bash
# Builds the .deb into a scratch folder and checks what it would put on a machine.
#   check_package.sh CPACK CPACK_CONFIG LIBDIR CLIPS_SOURCE_DIR
# Exit 77 (skipped) when the Debian tools are missing.
set -euo pipefail

cpack="$1" config="$2" libdir="$3" clips="$4"

for tool in dpkg-deb dpkg-shlibdeps; do
  if ! command -v "$tool" >/dev/null; then
    echo "SKIP: $tool is missing (apt-get install dpkg-dev)"
    exit 77
  fi
done

work="$(mktemp -d "${TMPDIR:-/tmp}/quizzolo-package.XXXXXX")"
trap 'rm -rf "$work"' EXIT

if ! "$cpack" --config "$config" -G DEB -B "$work" >"$work/cpack.log" 2>&1; then
  cat "$work/cpack.log"
  echo "FAIL: cpack did not build the package"
  exit 1
fi
debs=("$work"/quizzolo_*.deb)
if [ ${#debs[@]} -ne 1 ] || [ ! -f "${debs[0]}" ]; then
  cat "$work/cpack.log"
  echo "FAIL: expected one quizzolo_*.deb, found: ${debs[*]}"
  exit 1
fi
deb="${debs[0]}"
echo "package: $(basename "$deb") ($(stat -c %s "$deb") bytes)"

failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

# "mode owner size date time ./path [-> target]"
listing="$(dpkg-deb -c "$deb")"
entry() { awk -v p="./$1" '$6 == p' <<<"$listing"; }
expect_file() { # path mode-prefix
  local e
  e="$(entry "$1")"
  if [ -z "$e" ]; then
    fail "missing $1"
  elif [[ "$e" != "$2"* ]]; then
    fail "$1 has mode ${e%% *}, expected $2"
  fi
}

app="usr/$libdir/quizzolo"
expect_file "$app/quizzolo" "-rwxr-xr-x"
expect_file "$app/quizzolo-registra" "-rwxr-xr-x"

# Exactly the clips of the source tree, beside the program.
expected_clips="$(find "$clips" -maxdepth 1 -name "*.wav" -printf "%f\n" | sort)"
packaged_clips="$(awk -v d="./$app/" 'index($6, d) == 1 && $6 ~ /\.wav$/ { print substr($6, length(d) + 1) }' <<<"$listing" | sort)"
if [ "$packaged_clips" != "$expected_clips" ]; then
  fail "clips beside the program differ from $clips:"
  diff <(echo "$expected_clips") <(echo "$packaged_clips") || true
fi
echo "clips beside the program: $(grep -c . <<<"$packaged_clips")"

for program in quizzolo quizzolo-registra; do
  link="$(entry "usr/bin/$program")"
  if [[ "$link" != l* ]]; then
    fail "usr/bin/$program is not a symlink: ${link:-missing}"
  else
    target="$(awk '{ print $8 }' <<<"$link")"
    resolved="$(realpath -m --relative-to=/ "/usr/bin/$target")"
    [ "$resolved" = "$app/$program" ] || fail "usr/bin/$program points to $target ($resolved), not to $app/$program"
  fi
done

expect_file usr/share/applications/quizzolo.desktop "-rw-r--r--"
expect_file usr/share/applications/quizzolo-lavagna.desktop "-rw-r--r--"
expect_file usr/share/applications/quizzolo-registra.desktop "-rw-r--r--"
expect_file usr/share/metainfo/org.example.quizzolo.metainfo.xml "-rw-r--r--"
for size in 16 32 48 64 128 256; do
  expect_file "usr/share/icons/hicolor/${size}x${size}/apps/quizzolo.png" "-rw-r--r--"
done
expect_file usr/share/icons/hicolor/scalable/apps/quizzolo.svg "-rw-r--r--"
expect_file usr/share/doc/quizzolo/copyright "-rw-r--r--"
expect_file usr/share/doc/quizzolo/guida-voce.md "-rw-r--r--"

stray="$(awk '$6 !~ /^\.\/usr\// && $6 != "./" { print $6 }' <<<"$listing")"
[ -z "$stray" ] || fail "files outside /usr: $stray"

[ "$(dpkg-deb -f "$deb" Package)" = quizzolo ] || fail "package name is not quizzolo"
[ "$(dpkg-deb -f "$deb" Section)" = education ] || fail "section is not education"
depends="$(dpkg-deb -f "$deb" Depends)"
echo "Depends: $depends"
for needed in 'libqt6widgets6' 'libqt6gui6' 'libqt6core6' 'libsdl2-2\.0-0' 'libsndfile1' 'libsamplerate0' \
  'libavformat59' 'libavcodec59' 'libswresample4' 'libarchive13' \
  'fonts-liberation2' 'qt6-qpa-plugins'; do
  grep -Eq "(^|, )$needed( |,|$)" <<<"$depends" || fail "Depends lacks $needed"
done
recommends="$(dpkg-deb -f "$deb" Recommends)"
grep -Eq "(^|, )qt6-translations-l10n( |,|$)" <<<"$recommends" || fail "Recommends lacks qt6-translations-l10n: $recommends"

# The installed desktop entry and metainfo must still validate.
mkdir "$work/tree"
dpkg-deb -x "$deb" "$work/tree"
if command -v desktop-file-validate >/dev/null; then
  for entry in quizzolo quizzolo-lavagna quizzolo-registra; do
    desktop-file-validate "$work/tree/usr/share/applications/$entry.desktop" || fail "desktop-file-validate $entry"
  done
fi
if command -v appstreamcli >/dev/null; then
  appstreamcli validate --no-net "$work/tree/usr/share/metainfo/org.example.quizzolo.metainfo.xml" >"$work/as.log" 2>&1 ||
    { cat "$work/as.log"; fail "appstreamcli validate"; }
fi
for program in quizzolo quizzolo-registra; do
  [ -x "$work/tree/usr/bin/$program" ] || fail "usr/bin/$program does not resolve to an executable"
done
# The whiteboard entry starts the trainer in its board view.
grep -qx 'Exec=quizzolo --lavagna' "$work/tree/usr/share/applications/quizzolo-lavagna.desktop" ||
  fail "quizzolo-lavagna.desktop does not start quizzolo --lavagna"
# The recorder's Guida finds the guide from where the package puts the program.
guide="$("$work/tree/$app/quizzolo-registra" --guida 2>&1)" || fail "the recorder finds no guide: $guide"
[ "$guide" = "$work/tree/usr/share/doc/quizzolo/guida-voce.md" ] || fail "the recorder's guide is $guide"

if [ "$failures" -ne 0 ]; then
  echo "$failures check(s) failed; listing:"
  echo "$listing"
  exit 1
fi
echo "package contents OK"
