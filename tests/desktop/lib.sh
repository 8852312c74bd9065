# Shared by the desktop checks: a window system to run in, the real program
# started in it as a user starts it, real input through XTest (xdotool), and
# the window system's own answers (xdotool, wmctrl, xprop, screen pixels).
#
# A check is run as
#   run-desktop.sh STAGE_DIR SHOTS_DIR SESSION SCALE CHECK
# SESSION is openbox or xfwm4 (X11 in Xvfb with that window manager) or
# weston (Wayland: weston nested in Xvfb, the program a Wayland client).
# SCALE is the program's QT_SCALE_FACTOR. Screenshots go to SHOTS_DIR.

set -euo pipefail

pids=()
work=$(mktemp -d)
screen_w=1600
screen_h=1200

cleanup() {
  local i
  for ((i = ${#pids[@]} - 1; i >= 0; i--)); do
    kill "${pids[i]}" 2>/dev/null || true
  done
  for ((i = ${#pids[@]} - 1; i >= 0; i--)); do
    wait "${pids[i]}" 2>/dev/null || true
  done
  chmod -R u+w "$work" 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT

note() { echo "-- $*"; }

fail() {
  echo "FAIL: $*" >&2
  shot "failure-${CHECK:-check}" >/dev/null 2>&1 || true
  if [ -s "$work/wm.log" ]; then
    echo "window system's output:" >&2
    tail -5 "$work/wm.log" >&2
  fi
  if [ -s "$work/program.log" ]; then
    echo "program's output:" >&2
    tail -20 "$work/program.log" >&2
  fi
  exit 1
}

# wait_for SECONDS COMMAND...: until the command succeeds, or false.
wait_for() {
  local limit=$1
  shift
  local end=$((SECONDS + limit))
  until "$@" >/dev/null 2>&1; do
    ((SECONDS < end)) || return 1
    sleep 0.1
  done
}

# The X server for the session.
start_x() {
  mkfifo "$work/displayfd"
  # -noreset: the server is not reset when its last client (a probe) goes.
  Xvfb -displayfd 3 -screen 0 "${screen_w}x${screen_h}x24" -nolisten tcp -noreset \
    3>"$work/displayfd" >"$work/xvfb.log" 2>&1 &
  pids+=($!)
  local n
  read -r n <"$work/displayfd"
  export DISPLAY=":$n"
  display_number=$n
  wait_for 10 xdpyinfo || fail "Xvfb did not take connections on $DISPLAY"
}

# Starts the window manager and waits until it answers; one that gave up at
# once (now and then one cannot open a display that has just come up) is
# started again, three times at most.
start_window_manager() {
  local attempt pid end
  for attempt in 1 2 3; do
    "$@" >"$work/wm.log" 2>&1 &
    pid=$!
    pids+=($pid)
    end=$((SECONDS + 15))
    while kill -0 "$pid" 2>/dev/null && ((SECONDS < end)); do
      wmctrl -m >/dev/null 2>&1 && return 0
      sleep 0.1
    done
    note "$SESSION did not answer (attempt $attempt): $(tail -1 "$work/wm.log")"
  done
  fail "$SESSION did not come up"
}

start_session() {
  start_x
  case $SESSION in
  openbox) start_window_manager openbox --sm-disable ;;
  xfwm4)
    # Its settings come from the settings daemon over a session bus of its own.
    start_window_manager dbus-run-session -- xfwm4 --compositor=off --sm-client-disable
    ;;
  weston)
    export XDG_RUNTIME_DIR=$work/run
    mkdir -m 700 "$XDG_RUNTIME_DIR"
    cat >"$work/weston.ini" <<INI
[core]
idle-time=0
[shell]
panel-position=none
locking=false
background-color=0xff204060
[input-method]
path=
INI
    weston --backend=x11-backend.so --use-pixman --width="$screen_w" --height="$screen_h" \
      --socket="marvanto-$display_number" --config="$work/weston.ini" \
      >"$work/wm.log" 2>&1 &
    pids+=($!)
    export WAYLAND_DISPLAY=marvanto-$display_number
    wait_for 20 test -S "$XDG_RUNTIME_DIR/$WAYLAND_DISPLAY" || fail "weston did not come up"
    wait_for 10 grep -q 'window id [0-9]' "$work/wm.log" || fail "weston's window did not show"
    weston_window=$(grep -o 'window id [0-9]*' "$work/wm.log" | head -1 | cut -d' ' -f3)
    # The keyboard goes to the compositor's window.
    xdotool windowfocus --sync "$weston_window" || true
    sleep 1
    ;;
  *) fail "unknown session $SESSION" ;;
  esac
}

# The program from a fresh copy of the staged folder, started as a user would.
start_program() {
  mkdir -p "$work/app" "$work/home/Desktop"
  cp -r "$STAGE/." "$work/app/"
  local platform=xcb
  [ "$SESSION" = weston ] && platform=wayland
  (cd "$work/home" &&
    exec env HOME="$work/home" XDG_CONFIG_HOME="$work/home/.config" \
      XDG_DESKTOP_DIR="$work/home/Desktop" QTWEBENGINE_DISABLE_SANDBOX=1 \
      QT_QPA_PLATFORM=$platform QT_SCALE_FACTOR="$SCALE" QT_ENABLE_HIGHDPI_SCALING=1 \
      "$work/app/marvanto" >"$work/program.log" 2>&1) &
  pids+=($!)
  program_pid=$!
  if [ "$SESSION" != weston ]; then
    wait_for 30 window_id '^Marvanto Ver' || fail "the main window did not show"
    main=$(window_id '^Marvanto Ver')
    wait_for 10 mapped_and_still "$main" || fail "the main window did not settle"
  else
    sleep 4
  fi
}

# The visible window whose title matches a regular expression.
window_id() {
  local id
  id=$(xdotool search --onlyvisible --name "$1" 2>/dev/null | head -1)
  [ -n "$id" ] && echo "$id"
}

window_shown() { [ -n "$(xdotool search --onlyvisible --name "$1" 2>/dev/null)" ]; }

# "X Y WIDTH HEIGHT" of a window, in screen pixels, as the X server has it.
geometry() {
  local X Y WIDTH HEIGHT SCREEN WINDOW
  eval "$(xdotool getwindowgeometry --shell "$1")"
  echo "$X $Y $WIDTH $HEIGHT"
}

# True when two readings of a mapped window's geometry a moment apart agree.
mapped_and_still() {
  local a b
  a=$(geometry "$1") || return 1
  sleep 0.15
  b=$(geometry "$1") || return 1
  [ "$a" = "$b" ]
}

# Waits until the window's geometry is WANT ("X Y W H" with a tolerance of
# TOL pixels each); fails with what it is.
expect_geometry() {
  local id=$1 want=$2 tol=$3 what=$4 got
  local end=$((SECONDS + 4))
  while :; do
    got=$(geometry "$id")
    within "$got" "$want" "$tol" && return 0
    ((SECONDS < end)) || fail "$what: window at $got, expected $want (±$tol)"
    sleep 0.1
  done
}

within() {
  local -a a=($1) b=($2)
  local i d
  for i in 0 1 2 3; do
    d=$((a[i] - b[i]))
    ((d < 0)) && d=$((-d))
    ((d <= $3)) || return 1
  done
}

# The window is centred on the screen, ±2 pixels.
expect_centred() {
  local id=$1 what=$2 g
  local -a p
  g=$(geometry "$id")
  p=($g)
  local cx=$((p[0] * 2 + p[2] - screen_w)) cy=$((p[1] * 2 + p[3] - screen_h))
  ((cx < 0)) && cx=$((-cx))
  ((cy < 0)) && cy=$((-cy))
  ((cx <= 4 && cy <= 4)) || fail "$what is not centred: $g on ${screen_w}x${screen_h}"
  note "$what centred at $g"
}

# A point in a window: window X + dx, Y + dy (dx negative: from the right).
at() {
  local -a p=($(geometry "$1"))
  local x=$2 y=$3
  ((x < 0)) && x=$((p[2] + x))
  ((y < 0)) && y=$((p[3] + y))
  echo "$((p[0] + x)) $((p[1] + y))"
}

# Logical pixels of the program to screen pixels.
px() { awk -v v="$1" -v s="$SCALE" 'BEGIN { printf "%d", v * s + (v < 0 ? -0.5 : 0.5) }'; }

click_at() {
  xdotool mousemove --sync "$1" "$2"
  sleep 0.1
  xdotool click "${3:-1}"
  sleep 0.3
}

# drag X Y DX DY STEPS: the left button held from X,Y over STEPS moves.
drag() {
  local x=$1 y=$2 dx=$3 dy=$4 steps=$5 i
  xdotool mousemove --sync "$x" "$y"
  sleep 0.1
  xdotool mousedown 1
  sleep 0.1
  for ((i = 1; i <= steps; i++)); do
    xdotool mousemove --sync $((x + dx * i / steps)) $((y + dy * i / steps))
    sleep 0.05
  done
  sleep 0.2
  xdotool mouseup 1
  sleep 0.4
}

keys() {
  local k
  for k in "$@"; do
    xdotool key "$k"
    sleep 0.15
  done
}

# Brings a window to the front and makes it active, as a user does from the
# task list (through the window manager).
to_front() {
  xdotool windowactivate --sync "$1" >/dev/null 2>&1 || true
  sleep 0.3
}

# Makes the window active with a click on its caption.
activate() {
  local -a p=($(geometry "$1"))
  click_at $((p[0] + p[2] / 2)) $((p[1] + $(px 12)))
}

# shot NAME: the whole screen into SHOTS/NAME.png; prints the file.
shot() {
  mkdir -p "$SHOTS"
  local file=$SHOTS/$1.png
  import -display "$DISPLAY" -window root "$file"
  echo "$file"
}

# The rectangle of a picture that is not the colour of its top left pixel
# (the desktop's background), as "X Y W H".
drawn_box() {
  convert "$1" -alpha off -format '%@' info: | sed 's/[x+]/ /g' |
    awk '{ print $3, $4, $1, $2 }'
}

# The number of pixels of exactly 0xFF00FF in a picture.
magenta_pixels() {
  convert "$1" -alpha off -fill black +opaque '#FF00FF' -fill white -opaque '#FF00FF' \
    -format '%[fx:round(mean*w*h)]' info:
}

# sql DATABASE STATEMENT: runs a query on the copy's database.
sql() { sqlite3 "$work/app/database/$1" "$2"; }

# ---- the program's windows

# The captions of the windows the launcher buttons show, in the buttons' order.
launched=(销售记录管理 进货记录管理 备忘录 记事本 汇款记录管理 员工请假管理 员工工资管理
  客户通讯录 电费记录 万年历)

# Clicks launcher button N (0 销售管理 ... 9 万年历) of the main window: four
# to a row, 128 by 74 logical pixels apart, the first one's centre at (91, 213).
launch() {
  to_front "$main"
  click_at $(at "$main" "$(px $((91 + $1 % 4 * 128)))" "$(px $((213 + $1 / 4 * 74)))")
}

# Shows window N by its launcher button and waits until it stands still;
# prints its id.
show_window() {
  local title="^${launched[$1]}\$" id
  launch "$1"
  wait_for 10 window_shown "$title" || fail "${launched[$1]} did not show"
  id=$(window_id "$title")
  wait_for 5 mapped_and_still "$id" || fail "${launched[$1]} did not settle"
  echo "$id"
}

# The close box of a skinned window: 25 logical pixels in from the right, 18 wide.
close_box() { at "$1" "$(px -16)" "$(px 12)"; }

# The middle of a window's caption.
caption_point() {
  local -a p=($(geometry "$1"))
  echo "$((p[0] + p[2] / 2)) $((p[1] + $(px 12)))"
}

# The colour of one screen pixel, as #RRGGBB.
pixel() {
  import -display "$DISPLAY" -window root -crop "1x1+$1+$2" +repage -depth 8 txt:- |
    grep -o '#[0-9A-Fa-f]\{6\}' | head -1
}

# Adds a sale by the keyboard in the sales window, just shown: Tab from the
# page's tab to the goods box, then the amount, the shipper and the note,
# and Tab to 添加, which Enter presses.
add_sale_by_keyboard() {
  keys Tab
  xdotool type --delay 60 "apple"
  keys Tab
  xdotool type --delay 60 "12"
  keys Tab Tab
  xdotool type --delay 60 "by keyboard"
  keys Tab Return
}
