# Shared by the install tests: a temporary folder with a home of its own,
# removed at the end whatever happens, and helpers to install and check.
#   source common.sh SOURCE_DIR BUILD_DIR
set -euo pipefail
source_dir=$1
build=$2
work=$(mktemp -d)
cleanup_steps=()
cleanup() {
  for step in "${cleanup_steps[@]}"; do eval "$step" || true; done
  rm -rf "$work"
}
trap cleanup EXIT
export HOME=$work/home XDG_CONFIG_HOME=$work/home/.config XDG_DATA_HOME=$work/home/.local/share
export QT_QPA_PLATFORM=offscreen QTWEBENGINE_DISABLE_SANDBOX=1
mkdir -p "$HOME/Desktop"
data=$XDG_DATA_HOME/marvanto

fail() {
  echo "FAILED: $*" >&2
  exit 1
}

# rows FILE TABLE-QUERY: the answer of sqlite3.
query() {
  sqlite3 "$1" "$2"
}

expect_eq() {
  [ "$2" = "$3" ] || fail "$1: expected '$2', got '$3'"
}

# Installs the program with the driver into a prefix.
install_with_driver() {
  MARVANTO_BUILD_DIR=$build "$source_dir/scripts/install" "$1"
  cmake --install "$build" --prefix "$1" --component driver >/dev/null
}
