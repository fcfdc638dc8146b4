#!/usr/bin/env bash
# Makes the Debian package from a build tree with CPack, in a folder of its
# own, and checks what dpkg-deb reports of it: the file name, the control
# fields, every file with its mode and owner, and the shape of the files
# Debian is particular about.
# Usage: check_package.sh BUILD_DIR OUT_DIR VERSION
set -euo pipefail
build=$1 out=$2 version=$3

fail() { echo "FAIL: $*" >&2; exit 1; }

rm -rf "$out"
mkdir -p "$out"
cpack -G DEB --config "$build/CPackConfig.cmake" -B "$out" >"$out/cpack.log" 2>&1 ||
  { cat "$out/cpack.log"; fail "cpack"; }

arch=$(dpkg --print-architecture)
deb=$out/zelvora_${version}_${arch}.deb
[[ -f $deb ]] || fail "no $deb; made: $(ls "$out")"

field() { dpkg-deb --field "$deb" "$1"; }
[[ $(field Package) == zelvora ]] || fail "Package $(field Package)"
[[ $(field Version) == "$version" ]] || fail "Version $(field Version)"
[[ $(field Architecture) == "$arch" ]] || fail "Architecture $(field Architecture)"
[[ $(field Section) == games ]] || fail "Section $(field Section)"
[[ $(field Priority) == optional ]] || fail "Priority $(field Priority)"
[[ $(field Maintainer) =~ ^[^\<]+\ \<[^@\>]+@[^\>]+\>$ ]] || fail "Maintainer $(field Maintainer)"
[[ -n $(field Homepage) ]] || fail "no Homepage"
# From dpkg-shlibdeps: the libraries the program links, with versions.
depends=$(field Depends)
for library in libc6 libstdc++6 libqt6core6 libqt6gui6 libqt6widgets6; do
  [[ ", $depends" == *", $library (>= "[0-9]* ]] || fail "Depends lacks $library: $depends"
done
[[ $(field Recommends) == qt6-wayland ]] || fail "Recommends $(field Recommends), not qt6-wayland"
description=$(field Description)
[[ $(head -n1 <<<"$description") == "word-search puzzle game in Spanish" ]] ||
  fail "synopsis: $(head -n1 <<<"$description")"
(($(wc -l <<<"$description") >= 3)) || fail "no extended description"

# Every entry but directories: mode, owner, path (and link target).
dpkg-deb --contents "$deb" |
  awk '$1 !~ /^d/ { path = $6; for (i = 7; i <= NF; ++i) path = path " " $i;
                    print $1, $2, path }' | sort >"$out/contents"
sort >"$out/expected" <<'LIST'
-rw-r--r-- root/root ./usr/lib/zelvora/zelvora.ini
-rw-r--r-- root/root ./usr/share/applications/zelvora.desktop
-rw-r--r-- root/root ./usr/share/doc/zelvora/changelog.gz
-rw-r--r-- root/root ./usr/share/doc/zelvora/copyright
-rw-r--r-- root/root ./usr/share/icons/hicolor/128x128/apps/zelvora.png
-rw-r--r-- root/root ./usr/share/icons/hicolor/16x16/apps/zelvora.png
-rw-r--r-- root/root ./usr/share/icons/hicolor/256x256/apps/zelvora.png
-rw-r--r-- root/root ./usr/share/icons/hicolor/32x32/apps/zelvora.png
-rw-r--r-- root/root ./usr/share/icons/hicolor/48x48/apps/zelvora.png
-rw-r--r-- root/root ./usr/share/icons/hicolor/64x64/apps/zelvora.png
-rw-r--r-- root/root ./usr/share/man/man6/zelvora.6.gz
-rw-r--r-- root/root ./usr/share/metainfo/io.example.pinarejo.Zelvora.metainfo.xml
-rwxr-xr-x root/root ./usr/lib/zelvora/zelvora
lrwxrwxrwx root/root ./usr/games/zelvora -> ../lib/zelvora/zelvora
LIST
diff -u "$out/expected" "$out/contents" || fail "file list"

# The files themselves: a stripped program, compressed documents without a
# time stamp, a menu entry whose command the package puts on the PATH.
tree=$out/tree
dpkg-deb --extract "$deb" "$tree"
file -b "$tree/usr/lib/zelvora/zelvora" | grep -q ', stripped' || fail "program not stripped"
for gz in usr/share/doc/zelvora/changelog.gz usr/share/man/man6/zelvora.6.gz; do
  kind=$(file -b "$tree/$gz")
  [[ $kind == *"max compression"* && $kind != *"last modified"* ]] || fail "$gz: $kind"
done
zcat "$tree/usr/share/doc/zelvora/changelog.gz" | head -n1 |
  grep -qx "zelvora ($version) unstable; urgency=medium" || fail "changelog heading"
grep -q '^Format: https://www.debian.org/doc/packaging-manuals/copyright-format/1.0/' \
  "$tree/usr/share/doc/zelvora/copyright" || fail "copyright format"
command=$(sed -n 's/^Exec=\([^ ]*\).*/\1/p' "$tree/usr/share/applications/zelvora.desktop")
[[ -L $tree/usr/games/$command || -L $tree/usr/bin/$command ]] || fail "Exec=$command not installed"
[[ -x $tree/usr/lib/zelvora/$(readlink "$tree/usr/games/zelvora" | xargs basename) ]] ||
  fail "link target"
echo "package $deb checked"
