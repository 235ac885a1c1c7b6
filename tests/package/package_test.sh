#!/usr/bin/env bash
# The install layout and the .deb, checked the way Debian's tools check them.
#   package_test.sh layout|deb BUILD_DIR SOURCE_DIR
# Each run installs or packages into its own temporary folder, so the build
# folder's own `cpack` output is never touched.
set -uo pipefail

scenario=$1
BLD=$2
SRC=$3

WORK=$(mktemp -d)
trap 'rm -rf "$WORK"' EXIT
failed=0
fail() { echo "FAIL: $*"; failed=1; }
check() {  # description, command...
  local what=$1; shift
  if "$@"; then echo "ok: $what"; else fail "$what"; fi
}
need() {
  for tool in "$@"; do
    command -v "$tool" >/dev/null || { echo "SKIP: $tool not installed"; exit 77; }
  done
}

# Every file and link of the package, relative to the root, sorted; the
# directories follow from them.
EXPECTED=$(sort <<'EOF'
usr/bin/quorvelian
usr/libexec/xscreensaver/quorvelian
usr/share/applications/quorvelian-settings.desktop
usr/share/applications/screensavers/quorvelian.desktop
usr/share/doc/quorvelian/changelog.gz
usr/share/doc/quorvelian/copyright
usr/share/icons/hicolor/128x128/apps/quorvelian.png
usr/share/icons/hicolor/16x16/apps/quorvelian.png
usr/share/icons/hicolor/24x24/apps/quorvelian.png
usr/share/icons/hicolor/256x256/apps/quorvelian.png
usr/share/icons/hicolor/32x32/apps/quorvelian.png
usr/share/icons/hicolor/48x48/apps/quorvelian.png
usr/share/icons/hicolor/64x64/apps/quorvelian.png
usr/share/man/man6/quorvelian.6.gz
usr/share/xscreensaver/config/quorvelian.xml
EOF
)

# A desktop entry's value for a key of its [Desktop Entry] group.
entry_value() {  # file key
  awk -F= -v k="$2" '/^\[/ { g = $0 } g == "[Desktop Entry]" && $1 == k { sub(/^[^=]*=/, ""); print; exit }' "$1"
}

# The module's description offers what the program takes: every slider's
# option, range and default as the program's own help states them, a value
# past either end refused, and the primitive choices landing one in each of
# the four primitive modes. The man page documents every option.
check_module_options() {  # program xml man
  local qv=$1 xml=$2 man=$3 help n id low high default line
  help=$("$qv" --help) || { fail "--help exits non-zero"; return; }
  check "--help exits 0 and prints to stdout" test -n "$help"
  n=$(xmllint --xpath 'count(/screensaver/number)' "$xml")
  check "the description has five sliders (and the primitive choice)" test "$n" = 5
  for i in $(seq 1 "$n"); do
    id=$(xmllint --xpath "string(/screensaver/number[$i]/@id)" "$xml")
    low=$(xmllint --xpath "string(/screensaver/number[$i]/@low)" "$xml")
    high=$(xmllint --xpath "string(/screensaver/number[$i]/@high)" "$xml")
    default=$(xmllint --xpath "string(/screensaver/number[$i]/@default)" "$xml")
    check "slider $id passes --$id" \
      test "$(xmllint --xpath "string(/screensaver/number[$i]/@arg)" "$xml")" = "--$id %"
    line=$(grep -E -- "^  --$id N " <<<"$help")
    check "slider $id: $low to $high, default $default, as the program says ($line)" \
      grep -qF "$low to $high, first run $default " <<<"$line"
    check "the program refuses --$id $((high + 1)) with one line and exit 2" bash -c "
      '$qv' --$id $((high + 1)) 2>'$WORK/err' >/dev/null; [ \$? -eq 2 ] && [ \$(wc -l <'$WORK/err') -eq 1 ]"
    check "and --$id $((low - 1))" bash -c "'$qv' -$id $((low - 1)) >/dev/null 2>&1; [ \$? -eq 2 ]"
    check "and takes --$id $high" bash -c "'$qv' --$id $high --help >/dev/null"
  done
  # Primitive mode of each Snow value 0..10: a third of it, halves to even.
  local modes=(0 0 1 1 1 2 2 2 3 3 3) got="" value
  for i in 1 2 3 4; do
    value=$(xmllint --xpath "string(/screensaver/select[@id='primitive']/option[$i]/@arg-set)" "$xml")
    value=${value#--primitive }
    got+="${modes[${value:-0}]}"
  done
  check "the primitive choices are points, sparkles, quads, fading triangles in order ($got)" \
    test "$got" = 0123
  check "\"Show frame rate\" passes --fps" \
    test "$(xmllint --xpath "string(/screensaver/boolean[@id='showfps']/@arg-set)" "$xml")" = --fps
  local documented
  for id in speed brightness satiation size primitive color fps root window-id help version; do
    documented=$(zcat "$man" | sed 's/\\-/-/g' | grep -cE -- "^\.BR? --$id( |\$)")
    check "the man page explains --$id" test "$documented" -ge 1
  done
}

# Checks that hold for any tree laid out under ROOT/usr.
check_tree() {  # root
  local root=$1 usr=$1/usr
  check "the module link leads to the program" \
    test "$(readlink -f "$usr/libexec/xscreensaver/quorvelian")" = "$(readlink -f "$usr/bin/quorvelian")"
  check "the module link is relative" test "$(readlink "$usr/libexec/xscreensaver/quorvelian")" = ../../bin/quorvelian
  check "the program is executable" test -x "$usr/bin/quorvelian"

  local xml=$usr/share/xscreensaver/config/quorvelian.xml
  check "the module description is well-formed XML" xmllint --noout "$xml"
  check "it is named after the program" \
    test "$(xmllint --xpath 'string(/screensaver/@name)' "$xml")" = quorvelian
  check "it is marked as an OpenGL module" test "$(xmllint --xpath 'string(/screensaver/@gl)' "$xml")" = yes

  local settings=$usr/share/applications/quorvelian-settings.desktop
  local saver=$usr/share/applications/screensavers/quorvelian.desktop
  check "desktop-file-validate accepts the settings entry" desktop-file-validate "$settings"
  check "desktop-file-validate accepts the screensaver entry" desktop-file-validate "$saver"
  check "the settings entry is \"Quorvelian Settings\"" test "$(entry_value "$settings" Name)" = "Quorvelian Settings"
  check "and runs the settings window" test "$(entry_value "$settings" Exec)" = "quorvelian /c"
  check "the screensaver entry runs the module" test "$(entry_value "$saver" Exec)" = "quorvelian --root"
  check "both entries show the installed icon" test "$(entry_value "$settings" Icon)$(entry_value "$saver" Icon)" = quorvelianquorvelian

  local man=$usr/share/man/man6/quorvelian.6.gz
  check "the man page is gzip-compressed" gzip -t "$man"
  check "its programs line is not disabled by a leading dash" \
    bash -c "zcat '$man' | grep -q '^  GL: quorvelian \\\\-\\\\-root \\\\en\\\\e\$'"
  if command -v man >/dev/null; then
    man -l --warnings=all -Tutf8 "$man" >/dev/null 2>"$WORK/man.err"
    check "it renders without warnings" test ! -s "$WORK/man.err"
    cat "$WORK/man.err"
  fi

  check_module_options "$usr/bin/quorvelian" "$xml" "$man"

  local size png
  for size in 16 24 32 48 64 128 256; do
    png=$usr/share/icons/hicolor/${size}x${size}/apps/quorvelian.png
    check "icon ${size}x${size} is a ${size}x${size} PNG with alpha" \
      test "$(identify -format '%w %h %[channels]' "$png" 2>/dev/null)" = "$size $size srgba"
    # Transparent in all four corners (the flower stands on nothing) and
    # opaque somewhere (it is there at all).
    check "icon ${size}x${size} has a transparent background and a flower" bash -c "
      c=\$(convert '$png' -alpha extract -format '%[fx:p{0,0}+p{w-1,0}+p{0,h-1}+p{w-1,h-1}] %[fx:maxima]' info:)
      [ \"\$c\" = '0 1' ]"
  done
}

case $scenario in
layout)
  need xmllint desktop-file-validate identify convert
  # DESTDIR as a package build does it: the prefix stays /usr.
  DESTDIR=$WORK/root cmake --install "$BLD" --prefix /usr >"$WORK/install.log" 2>&1 ||
    { cat "$WORK/install.log"; fail "cmake --install"; }
  check "installs exactly the package's files" \
    diff <(echo "$EXPECTED") <(cd "$WORK/root" && find . ! -type d | sed 's|^\./||' | sort)
  check_tree "$WORK/root"
  ;;
deb)
  need cpack dpkg-deb dpkg-shlibdeps lintian xmllint desktop-file-validate identify convert readelf
  cpack -G DEB --config "$BLD/CPackConfig.cmake" -B "$WORK/out" >"$WORK/cpack.log" 2>&1 ||
    { cat "$WORK/cpack.log"; echo "FAIL: cpack -G DEB"; exit 1; }
  deb=$(ls "$WORK"/out/quorvelian_*_*.deb 2>/dev/null | head -1)
  [ -n "$deb" ] || { cat "$WORK/cpack.log"; echo "FAIL: no .deb made"; exit 1; }
  echo "package: $(basename "$deb"), $(stat -c %s "$deb") bytes"
  check "the package holds exactly its files" \
    diff <(echo "$EXPECTED") <(dpkg-deb -c "$deb" | awk '$1 !~ /^d/ { print $6 }' | sed 's|^\./||' | sort)
  check "everything belongs to root" bash -c "! dpkg-deb -c '$deb' | awk '{ print \$2 }' | grep -v '^root/root\$'"
  depends=$(dpkg-deb -f "$deb" Depends)
  echo "Depends: $depends"
  # The libraries the program links, found by dpkg-shlibdeps: SDL2, OpenGL,
  # X11, the C and C++ runtimes, each with a version floor for libc.
  for lib in 'libc6 (>= ' libsdl2-2.0-0 libx11-6 libstdc++6 libglu1; do
    check "depends on $lib" grep -qF "$lib" <<<"$depends"
  done
  # What apt would do with it on this system: every dependency resolvable.
  if grep -q 'Candidate: [0-9]' <<<"$(apt-cache policy libsdl2-2.0-0 2>/dev/null)"; then
    check "apt can install it with its dependencies" \
      bash -c "apt-get install -s '$deb' 2>&1 | grep -q '^Inst quorvelian '"
  else
    echo "note: no apt package lists here; installability not checked"
  fi
  dpkg-deb -x "$deb" "$WORK/root"
  check "the program is stripped" bash -c "! readelf -S '$WORK/root/usr/bin/quorvelian' | grep -q '\.symtab'"
  check_tree "$WORK/root"
  # lintian refuses nothing when run by root; its E: lines are what counts.
  lintian --tag-display-limit 0 "$deb" >"$WORK/lintian.log" 2>&1
  rc=$?
  echo "--- lintian (exit $rc)"; grep -v 'root privileges' "$WORK/lintian.log"
  check "lintian reports no errors" bash -c "! grep -q '^E: ' '$WORK/lintian.log'"
  check "lintian reports no warnings" bash -c "! grep -q '^W: ' '$WORK/lintian.log'"
  check "lintian exits 0" test $rc -eq 0
  ;;
*)
  echo "unknown scenario $scenario"; exit 2 ;;
esac

exit $failed
