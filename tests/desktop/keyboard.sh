# The keyboard reaches everything: F10 and Alt open the bar's menus, the
# arrow keys walk them, Enter chooses; Tab reaches 添加 and Enter adds a sale.

# F10, on to the second menu (工 具), its second item (万年历).
keys F10 Right Down Return
wait_for 10 window_shown '^万年历$' || fail "F10, Right, Down, Enter did not show the calendar"
calendar=$(window_id '^万年历$')
wait_for 5 mapped_and_still "$calendar"
expect_centred "$calendar" "the calendar"

# Alt alone in the main window, on to the third menu (关 于), its second
# item (联系方式), which shows the contact text in a message box.
to_front "$main"
keys alt Right Right Down Return
wait_for 10 window_shown '^Marvanto$' || fail "Alt, Right, Right, Down, Enter showed no message box"
box=$(window_id '^Marvanto$')
wait_for 5 mapped_and_still "$box"
shot message-box >/dev/null
read -r x y w h <<<"$(geometry "$box")"
# Inside, the box wears the skin's button face, as the main window does.
read -r mx my mw mh <<<"$(geometry "$main")"
face=$(pixel $((mx + mw - 8)) $((my + mh - $(px 40))))
inside=$(pixel $((x + $(px 8))) $((y + h - $(px 10))))
[ "$inside" = "$face" ] || fail "the message box is $inside inside, the main window $face"
keys Return
wait_for 5 bash -c "! xdotool search --onlyvisible --name '^Marvanto\$' | grep -q ." ||
  fail "Enter did not close the message box"

# A sale by the keyboard, Enter on 添加.
sales=$(show_window 0)
add_sale_by_keyboard
wait_for 5 [ "$(sql 销售记录.mdb "select count(*) from data where 商品 = 'apple'")" = 1 ] ||
  fail "Enter on 添加 added no sale: $(sql 销售记录.mdb 'select * from data')"
shot sale-added >/dev/null
