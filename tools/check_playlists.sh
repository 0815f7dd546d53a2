#!/usr/bin/env bash
# Checks exported playlists with an independent reader: the GNOME playlist
# parser library (Debian package gir1.2-totemplparser-1.0, driven from Python
# through python3-gi). Writes an M3U and a WPL with the program's own export
# code (tools/playlist_export) and compares what the parser reads with the
# paths that went in, in order.
#   usage: tools/check_playlists.sh [path/to/playlist_export]
set -euo pipefail

here=$(cd "$(dirname "$0")/.." && pwd)
exporter=${1:-}
if [[ -z "$exporter" ]]; then
  for candidate in "$here"/build/release/tools/playlist_export "$here"/build/native/tools/playlist_export; do
    [[ -x "$candidate" ]] && exporter=$candidate && break
  done
fi
[[ -x "${exporter:-}" ]] || { echo "build tools/playlist_export first (cmake --build --preset release --target playlist_export)" >&2; exit 2; }

if ! /usr/bin/python3 -c "import gi; gi.require_version('TotemPlParser', '1.0')" 2>/dev/null; then
  DEBIAN_FRONTEND=noninteractive apt-get install -y --no-install-recommends gir1.2-totemplparser-1.0 python3-gi >/dev/null
fi

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# Absolute paths the parser can take as they are: XML-special characters, CJK,
# an emoji, blanks; and a stream URL with a query.
paths=(
  "$work/music/Rock & Roll/Don't Stop.mp3"
  "$work/music/<odd> \"quoted\".ogg"
  "$work/music/音楽/曲.flac"
  "$work/music/🎵 mix #1.mp3"
  "http://radio.example/live?x=1&y=2"
)

read_with_parser() {
  /usr/bin/python3 - "$1" <<'PY'
import sys, gi
gi.require_version('TotemPlParser', '1.0')
from gi.repository import TotemPlParser, Gio
parser = TotemPlParser.Parser()
parser.props.recurse = False
def on_entry(p, uri, metadata):
    f = Gio.File.new_for_uri(uri) if '://' in uri else None
    local = f.get_path() if f is not None and f.get_uri_scheme() == 'file' else None
    print(local if local else uri)
parser.connect('entry-parsed', on_entry)
result = parser.parse(Gio.File.new_for_path(sys.argv[1]).get_uri(), False)
print('RESULT ' + result.value_nick)
PY
}

status=0
expected=$(printf '%s\n' "${paths[@]}" "RESULT success")
for ext in m3u wpl; do
  out="$work/export.$ext"
  "$exporter" "$out" "${paths[@]}"
  got=$(read_with_parser "$out")
  echo "== $ext: the parser read"
  printf '%s\n' "$got"
  if [[ "$got" == "$expected" ]]; then
    echo "== $ext: same paths, same order"
  else
    echo "== $ext: MISMATCH" >&2
    diff <(printf '%s\n' "$expected") <(printf '%s\n' "$got") >&2 || true
    status=1
  fi
done
exit $status
