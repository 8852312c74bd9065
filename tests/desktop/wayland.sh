# Wayland: the compositor places the windows and moves them. A caption drag
# moves the main window exactly. From the main window, which has the keyboard
# at start, Tab reaches 销售管理 and Space shows the sales
# window; a sale is added there by the keyboard, Enter on 添加; no pixel of
# the skin's transparent colour shows on the screen.

sleep 2
# The compositor moves the main window by its caption exactly as far as the
# pointer went, in many small steps and in two big ones; the window is found
# on the screen as all that is not the background.
# The pointer, which the compositor draws, rests on the window, centred.
xdotool mousemove --sync $((screen_w / 2)) $((screen_h / 2))
sleep 0.3
box=($(drawn_box "$(shot wayland-start)"))
[ "${box[2]}" -gt 100 ] || fail "no window on the screen: ${box[*]}"
drag $((box[0] + box[2] / 2)) $((box[1] + $(px 12))) 100 60 10
moved=($(drawn_box "$(shot wayland-dragged)"))
[ "${moved[*]}" = "$((box[0] + 100)) $((box[1] + 60)) ${box[2]} ${box[3]}" ] ||
  fail "caption drag in ten steps: ${box[*]} became ${moved[*]}, not moved by 100,60"
drag $((moved[0] + moved[2] / 2)) $((moved[1] + $(px 12))) -150 -90 2
back=($(drawn_box "$(shot wayland-dragged-back)"))
[ "${back[*]}" = "$((box[0] - 50)) $((box[1] - 30)) ${box[2]} ${box[3]}" ] ||
  fail "caption drag in two steps: ${moved[*]} became ${back[*]}, not moved by -150,-90"
keys Tab space
sleep 2
add_sale_by_keyboard
wait_for 5 [ "$(sql 销售记录.mdb "select count(*) from data where 商品 = 'apple'")" = 1 ] ||
  fail "no sale added by the keyboard: $(sql 销售记录.mdb 'select * from data')"
file=$(shot wayland)
count=$(magenta_pixels "$file")
[ "$count" = 0 ] || fail "$count magenta pixels on the screen (see $file)"
