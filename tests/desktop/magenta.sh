# No pixel of the skin's transparent colour shows anywhere on the screen: as
# each window opens on top of the others, and with all of them open and the
# main window in front.

check_screen() {
  local file count
  file=$(shot "$1")
  count=$(magenta_pixels "$file")
  [ "$count" = 0 ] || fail "$count magenta pixels on the screen (see $file)"
}

check_screen main-window
for n in "${!launched[@]}"; do
  show_window "$n" >/dev/null
  check_screen "window-$n"
done
to_front "$main"
check_screen every-window
