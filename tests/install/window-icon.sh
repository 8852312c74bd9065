#!/usr/bin/env bash
# The installed program on X11 under a window manager: its windows carry the
# program's icon for the task bar and the window switcher (_NET_WM_ICON), and
# the skinned caption draws it in the icon place, with no pink fringe of the
# skin's transparent colour around it. The screenshot stays in the build
# folder (screens/window-icon.png).
source "$(dirname "$0")/common.sh"
unset QT_QPA_PLATFORM
prefix=$work/prefix
MARVANTO_BUILD_DIR=$build "$source_dir/scripts/install" "$prefix"
shots=$build/screens
mkdir -p "$shots"

cat > "$work/session.sh" <<SESSION
#!/usr/bin/env bash
set -euo pipefail
openbox >/dev/null 2>&1 &
sleep 0.5
"$prefix/bin/marvanto" >/dev/null 2>&1 &
pid=\$!
trap 'kill \$pid 2>/dev/null || true' EXIT
id=
for _ in \$(seq 150); do
  id=\$(xdotool search --name '^Marvanto Ver' 2>/dev/null | head -n 1 || true)
  [ -n "\$id" ] && break
  sleep 0.1
done
[ -n "\$id" ] || { echo "no main window" >&2; exit 1; }
sleep 1.5
xprop -id "\$id" _NET_WM_ICON > "$work/icon.txt"
xdotool getwindowgeometry --shell "\$id" > "$work/geometry.txt"
import -window root "$shots/window-icon.png"
SESSION
chmod +x "$work/session.sh"
xvfb-run -a -s "-screen 0 1280x1024x24" "$work/session.sh"

grep -q '_NET_WM_ICON(CARDINAL) = ' "$work/icon.txt" || fail "_NET_WM_ICON is not set: $(head -c 200 "$work/icon.txt")"
# The property holds every size the program has, 16 pixels the smallest.
grep -q 'Icon (16 x 16)' "$work/icon.txt" || fail "_NET_WM_ICON has no 16-pixel icon"
source "$work/geometry.txt"
# The caption's icon place: the first 40 x 28 pixels of the window.
pixels=$(/usr/bin/convert "$shots/window-icon.png" -crop "40x28+$X+$Y" +repage -depth 8 txt:- |
  sed -n 's/.*srgb(\([0-9]*\),\([0-9]*\),\([0-9]*\)).*/\1 \2 \3/p')
red=$(awk '$1 > 200 && $2 > 50 && $2 < 100 && $3 > 40 && $3 < 90' <<<"$pixels" | wc -l)
magenta=$(awk '$1 > 160 && $3 > 160 && $2 < 110' <<<"$pixels" | wc -l)
[ "$red" -gt 3 ] || fail "the caption shows no icon (no awning red in its icon place)"
expect_eq "magenta pixels around the caption icon" 0 "$magenta"
echo "window icon: set for the window manager and drawn in the caption"
