# Every window opens centred on the screen on its first show and where it was
# when shown again after its close box closed it; a double click on a caption
# without a maximize box changes nothing; the system menu opened by a right
# click on the caption moves the window by the keyboard.

expect_centred "$main" "the main window"
for n in "${!launched[@]}"; do
  id=$(show_window "$n")
  expect_centred "$id" "${launched[n]}"
  ((n == 0)) && shot sales-over-main >/dev/null
done
shot every-window >/dev/null

# Closed by its close box and shown again: the same place.
sales=$(window_id '^销售记录管理$')
before=$(geometry "$sales")
to_front "$sales"
click_at $(close_box "$sales")
wait_for 5 bash -c "! xdotool search --onlyvisible --name '^销售记录管理\$' | grep -q ." ||
  fail "the close box did not close the sales window"
sales=$(show_window 0)
expect_geometry "$sales" "$before" 0 "the sales window shown again"
expect_centred "$sales" "the sales window shown again"

# A double click on the caption of a window without a maximize box.
read -r x y <<<"$(caption_point "$sales")"
xdotool mousemove --sync "$x" "$y" click --repeat 2 --delay 80 1
sleep 0.5
expect_geometry "$sales" "$before" 0 "the sales window after a double click on its caption"

# The system menu by a right click on the caption; 移动 (its M), three steps
# right and two down, Enter.
click_at "$x" "$y" 3
shot system-menu >/dev/null
keys m Right Right Right Down Down Return
read -r bx by bw bh <<<"$before"
expect_geometry "$sales" "$((bx + 3 * $(px 8))) $((by + 2 * $(px 8))) $bw $bh" 0 \
  "the sales window moved by the keyboard"
# The keys reach the window's boxes again afterwards.
keys Escape

# The caption's icon place holds a picture: its pixels differ from the plain
# caption's further right (which, stretched, is the same in every column).
to_front "$main"
read -r mx my mw mh <<<"$(geometry "$main")"
file=$(shot caption-icon)
convert "$file" -crop "16x16+$((mx + 8))+$((my + 4))" +repage "$work/icon.png"
convert "$file" -crop "16x16+$((mx + mw - 120))+$((my + 4))" +repage "$work/plain.png"
differ=$(compare -metric AE -fuzz 10% "$work/icon.png" "$work/plain.png" null: 2>&1 || true)
((differ > 40)) || fail "the caption's icon place is empty ($differ pixels differ from the caption)"
