#!/usr/bin/env bash
# Plays one driver script on a fresh copy of the staged program.
#   run-drive.sh STAGE_DIR SCRIPT
# Lines of the script starting with "#!" prepare the copy before the program
# starts, in their order (paths relative to the copy's folder):
#   #! remove PATH          delete a file of the copy
#   #! damage PATH          overwrite a file of the copy with garbage
#   #! damage-page PATH N   overwrite page N (of 4096 bytes) of a database,
#                           leaving the other pages, the schema's among them
#   #! write PATH BYTES     replace a file by the rest of the line, its escapes
#                           (\0, \x01, \n ...) read as printf's %b reads them
#   #! zeros PATH SIZE      replace a file by SIZE zero bytes (0: an empty file)
#   #! sql PATH STATEMENT   run a statement on a database (the rest of the line)
#   #! copy PATH PATH       copy a file
#   #! mkdir PATH           make a folder (and those above it)
#   #! lock MS PATH...      another program holds an exclusive lock on each
#                           database for MS milliseconds from before the start
#   #! cwd PATH             start from this current directory (default: /)
#   #! check-after SCRIPT   when the driver passed, run SCRIPT (beside this one)
#                           with the copy's folder, to check it from outside
#   #! server-stop          stop the test server (see below) before the start
#   #! server-user NAME     log in to the test server as the role NAME
# Under tests/server/with-test-server.sh (MARVANTO_TEST_SERVER_URL set) the
# copy's marvanto.conf puts its books on that throwaway server.
set -euo pipefail
stage=$1
script=$(cd "$(dirname "$2")" && pwd)/$(basename "$2")
work=$(mktemp -d)
holders=()
cleanup() {
  for pid in "${holders[@]}"; do kill "$pid" 2>/dev/null || true; done
  # Folders the script made read-only (the immutable attribute) are freed first.
  chattr -R -i "$work" 2>/dev/null || true
  chmod -R u+w "$work"
  rm -rf "$work"
}
trap cleanup EXIT
cp -r "$stage/." "$work/"
mkdir -p "$work/home/Desktop"
export HOME="$work/home" XDG_CONFIG_HOME="$work/home/.config" XDG_DESKTOP_DIR="$work/home/Desktop"
export QT_QPA_PLATFORM=offscreen QTWEBENGINE_DISABLE_SANDBOX=1
if [ -n "${MARVANTO_TEST_SERVER_URL:-}" ]; then
  printf '[server]\nurl=%s\n' "$MARVANTO_TEST_SERVER_URL" > "$work/marvanto.conf"
fi
cwd=/
set -f
check=
while IFS= read -r line; do
  set -- $line
  case "${2:-}" in
    remove) rm -f "$work/$3" ;;
    damage) printf 'this is not a database file, only some text and nothing else at all %.0s' {1..80} > "$work/$3" ;;
    damage-page)
      head -c 4096 /dev/zero | tr '\0' '\377' |
        dd of="$work/$3" bs=4096 seek=$(($4 - 1)) conv=notrunc status=none ;;
    write)
      rest=
      if [ $# -gt 3 ]; then rest=${line#*write }; rest=${rest#* }; fi
      printf '%b' "$rest" > "$work/$3" ;;
    zeros) rm -f "$work/$3"; truncate -s "$4" "$work/$3" ;;
    sql)
      rest=${line#*sql }
      "$work/marvanto-drive" --sql "$work/$3" "${rest#* }" ;;
    copy) cp "$work/$3" "$work/$4" ;;
    mkdir) mkdir -p "$work/$3" ;;
    lock)
      ms=$3
      shift 3
      files=()
      for f in "$@"; do files+=("$work/$f"); done
      fifo=$work/.lock-$RANDOM
      mkfifo "$fifo"
      "$work/marvanto-drive" --hold-locks "$ms" "${files[@]}" > "$fifo" &
      holders+=($!)
      # The program starts only once the locks are taken.
      read -r taken < "$fifo"
      rm -f "$fifo"
      [ "$taken" = locked ] ;;
    cwd) cwd=$3 ;;
    check-after) check=$(cd "$(dirname "$script")" && pwd)/$3 ;;
    server-stop) "$MARVANTO_TEST_SERVER" stop "$MARVANTO_TEST_SERVER_DIR" ;;
    server-user)
      printf '[server]\nurl=%s\n' "${MARVANTO_TEST_SERVER_URL/user=shop/user=$3}" \
        > "$work/marvanto.conf" ;;
  esac
done < <(grep -E '^#! ' "$script" || true)
set +f
cd "$cwd"
"$work/marvanto-drive" --app-dir "$work" "$script"
if [ -n "$check" ]; then
  "$check" "$work"
fi
