# With every window open, no pixel of the skin's transparent colour shows
# anywhere on the screen.

for n in "${!launched[@]}"; do
  show_window "$n" >/dev/null
  activate "$main"
done
# The main window on top, then a message box over it.
sleep 1
file=$(shot every-window)
count=$(magenta_pixels "$file")
[ "$count" = 0 ] || fail "$count magenta pixels on the screen (see $file)"
