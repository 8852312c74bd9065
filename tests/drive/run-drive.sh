#!/usr/bin/env bash
# Plays one driver script on a fresh copy of the staged program.
#   run-drive.sh STAGE_DIR SCRIPT
# Lines of the script starting with "#!" prepare the copy before the program
# starts:
#   #! remove PATH          delete a file of the copy (relative to its folder)
#   #! damage PATH          overwrite a file of the copy with garbage
#   #! cwd PATH             start from this current directory (default: /)
#   #! check-after SCRIPT   when the driver passed, run SCRIPT (beside this one)
#                           with the copy's folder, to check it from outside
set -euo pipefail
stage=$1
script=$(cd "$(dirname "$2")" && pwd)/$(basename "$2")
work=$(mktemp -d)
# Folders the script made read-only (the immutable attribute) are freed first.
trap 'chattr -R -i "$work" 2>/dev/null || true; chmod -R u+w "$work"; rm -rf "$work"' EXIT
cp -r "$stage/." "$work/"
mkdir -p "$work/home/Desktop"
export HOME="$work/home" XDG_CONFIG_HOME="$work/home/.config" XDG_DESKTOP_DIR="$work/home/Desktop"
export QT_QPA_PLATFORM=offscreen QTWEBENGINE_DISABLE_SANDBOX=1
cwd=/
check=
while IFS= read -r line; do
  set -- $line
  case "${2:-}" in
    remove) rm -f "$work/$3" ;;
    damage) printf 'this is not a database file, only some text and nothing else at all %.0s' {1..80} > "$work/$3" ;;
    cwd) cwd=$3 ;;
    check-after) check=$(cd "$(dirname "$0")" && pwd)/$3 ;;
  esac
done < <(grep -E '^#! ' "$script" || true)
cd "$cwd"
"$work/marvanto-drive" --app-dir "$work" "$script"
if [ -n "$check" ]; then
  "$check" "$work"
fi
