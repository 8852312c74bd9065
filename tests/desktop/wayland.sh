# Wayland: the compositor places the windows. From the main window, which has
# the keyboard at start, Tab reaches 销售管理 and Space shows the sales
# window; a sale is added there by the keyboard, Enter on 添加; no pixel of
# the skin's transparent colour shows on the screen.

sleep 2
keys Tab space
sleep 2
add_sale_by_keyboard
wait_for 5 [ "$(sql 销售记录.mdb "select count(*) from data where 商品 = 'apple'")" = 1 ] ||
  fail "no sale added by the keyboard: $(sql 销售记录.mdb 'select * from data')"
file=$(shot wayland)
count=$(magenta_pixels "$file")
[ "$count" = 0 ] || fail "$count magenta pixels on the screen (see $file)"
