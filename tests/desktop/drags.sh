# Moving by the caption and sizing by a border or corner land exactly where
# the pointer went, in many small steps and in two big ones.

sales=$(show_window 0)
read -r x y w h <<<"$(geometry "$sales")"
read -r cx cy <<<"$(caption_point "$sales")"
drag "$cx" "$cy" 150 80 10
expect_geometry "$sales" "$((x + 150)) $((y + 80)) $w $h" 1 "caption drag in ten steps"
drag $((cx + 150)) $((cy + 80)) -210 -130 2
expect_geometry "$sales" "$((x - 60)) $((y - 50)) $w $h" 1 "caption drag in two steps"

calendar=$(show_window 9)
read -r x y w h <<<"$(geometry "$calendar")"
# The right border, 2 pixels in from the edge, half way down.
drag $((x + w - 2)) $((y + h / 2)) 60 0 10
expect_geometry "$calendar" "$x $y $((w + 60)) $h" 1 "right border drag in ten steps"
w=$((w + 60))
# The bottom-right corner.
drag $((x + w - 2)) $((y + h - 2)) 40 30 2
expect_geometry "$calendar" "$x $y $((w + 40)) $((h + 30))" 1 "corner drag in two steps"
w=$((w + 40))
h=$((h + 30))
# The top-left corner.
drag $((x + 2)) $((y + 2)) -30 -20 10
expect_geometry "$calendar" "$((x - 30)) $((y - 20)) $((w + 30)) $((h + 20))" 1 \
  "top-left corner drag in ten steps"

# 大小 of the system menu (its S), the right edge by two arrow steps, Enter.
read -r x y w h <<<"$(geometry "$calendar")"
read -r cx cy <<<"$(caption_point "$calendar")"
click_at "$cx" "$cy" 3
keys s Right Right Return
expect_geometry "$calendar" "$x $y $((w + 2 * $(px 8))) $h" 0 "the calendar sized by the keyboard"
shot after-drags >/dev/null
