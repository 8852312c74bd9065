#!/usr/bin/env bash
# Plays one driver script on a fresh copy of the staged program.
#   run-drive.sh STAGE_DIR SCRIPT
# Lines of the script starting with "#!" prepare the copy before the program
# starts:
#   #! remove PATH          delete a file of the copy (relative to its folder)
#   #! damage PATH          overwrite a file of the copy with garbage
#   #! cwd PATH             start from this current directory (default: /)
set -euo pipefail
stage=$1
script=$(cd "$(dirname "$2")" && pwd)/$(basename "$2")
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cp -r "$stage/." "$work/"
mkdir -p "$work/home/Desktop"
export HOME="$work/home" XDG_CONFIG_HOME="$work/home/.config" XDG_DESKTOP_DIR="$work/home/Desktop"
export QT_QPA_PLATFORM=offscreen QTWEBENGINE_DISABLE_SANDBOX=1
cwd=/
while IFS= read -r line; do
  set -- $line
  case "${2:-}" in
    remove) rm -f "$work/$3" ;;
    damage) printf 'this is not a database file, only some text and nothing else at all %.0s' {1..80} > "$work/$3" ;;
    cwd) cwd=$3 ;;
  esac
done < <(grep -E '^#! ' "$script" || true)
cd "$cwd"
exec "$work/marvanto-drive" --app-dir "$work" "$script"
