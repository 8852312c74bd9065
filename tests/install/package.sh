#!/usr/bin/env bash
# The Debian package: made with cpack as scripts/package makes it, it holds
# the program, the menu entry, the icons and the metainfo, and not the
# driver; the entry and metainfo pass their validators; the run-time
# libraries and the packages the program loads are named as dependencies;
# and the program unpacked from it starts and makes the user's data folder.
source "$(dirname "$0")/common.sh"
cpack --config "$build/CPackConfig.cmake" -G DEB -B "$work/package" >/dev/null
deb=$(ls "$work/package"/marvanto_*_amd64.deb)
expect_eq "package name" "marvanto_$(sed -n 's/^project(Marvanto VERSION \([0-9.]*\).*/\1/p' \
  "$source_dir/CMakeLists.txt")_amd64.deb" "$(basename "$deb")"

files=$(dpkg-deb -c "$deb" | awk '{print $6}')
for f in ./usr/bin/marvanto ./usr/lib/marvanto/marvanto ./usr/lib/marvanto/marvanto-web-browser.so \
  ./usr/lib/marvanto/banner.jpg ./usr/lib/marvanto/wannianli.htm \
  ./usr/lib/marvanto/data-template/商品名称列表.txt \
  ./usr/share/applications/marvanto.desktop \
  ./usr/share/metainfo/org.marvanto.Marvanto.metainfo.xml \
  ./usr/share/icons/hicolor/scalable/apps/marvanto.svg; do
  grep -qxF "$f" <<<"$files" || fail "the package lacks $f"
done
for size in 16 32 48 64 128 256; do
  grep -qxF "./usr/share/icons/hicolor/${size}x${size}/apps/marvanto.png" <<<"$files" ||
    fail "the package lacks the ${size}-pixel icon"
done
expect_eq "empty databases" 9 "$(grep -c '^./usr/lib/marvanto/data-template/database/.*\.mdb$' <<<"$files")"
if grep -q "marvanto-drive" <<<"$files"; then fail "the driver is in the package"; fi
if grep -q '^./usr/lib/marvanto/database' <<<"$files"; then fail "a database folder beside the program"; fi

depends=$(dpkg-deb -f "$deb" Depends)
for dependency in libqt6widgets6 libqt6webenginewidgets6 libsqlite3-0 libjpeg62-turbo \
  libxlsxwriter4 qt6-qpa-plugins fonts-wqy-microhei "qt6-webengine-abi (= "; do
  grep -q "$dependency" <<<"$depends" || fail "Depends lacks $dependency: $depends"
done

root=$work/root
dpkg-deb -x "$deb" "$root"
desktop-file-validate "$root/usr/share/applications/marvanto.desktop"
appstreamcli validate --no-net "$root/usr/share/metainfo/org.marvanto.Marvanto.metainfo.xml" >/dev/null ||
  fail "appstreamcli: $(appstreamcli validate --no-net "$root/usr/share/metainfo/org.marvanto.Marvanto.metainfo.xml")"
grep -qx 'Exec=marvanto' "$root/usr/share/applications/marvanto.desktop" || fail "Exec"
grep -qx 'Icon=marvanto' "$root/usr/share/applications/marvanto.desktop" || fail "Icon"
file -L "$root/usr/share/icons/hicolor/48x48/apps/marvanto.png" | grep -q '48 x 48' ||
  fail "the 48-pixel icon is not 48 pixels"

# The unpacked program, started as the menu entry starts it, makes the
# user's data folder with the nine empty databases and the word lists.
"$root/usr/bin/marvanto" &
pid=$!
cleanup_steps+=("kill $pid 2>/dev/null")
for _ in $(seq 100); do
  [ "$(ls "$data/database" 2>/dev/null | wc -l)" = 9 ] && break
  sleep 0.1
done
kill -0 $pid 2>/dev/null || fail "the packaged program did not keep running"
expect_eq "databases made on first start" 9 "$(ls "$data/database" | wc -l)"
expect_eq "word lists" 3 "$(ls "$data"/*.txt | wc -l)"
echo "package: $(basename "$deb") checked"
