#!/usr/bin/env bash
# make-screenshots.sh BUILD_DIR OUT_DIR: the screenshots of the AppStream metadata, made from the
# real program in a private X session (../shared/guikit): the main window browsing a catalog,
# the scanning window with thumbnails, and the scan options. 1600 × 1000 PNGs.
set -euo pipefail
build=$(cd "$1" && pwd)
mkdir -p "$2"
out=$(cd "$2" && pwd)
here=$(cd "$(dirname "$0")" && pwd)
kit=${PELKO_GUIKIT:-$here/../../shared/guikit}
[ -x "$kit/session.sh" ] || { echo "the desktop test kit is not at $kit" >&2; exit 1; }

work=$(mktemp -d /tmp/pelko-shots.XXXXXX)
trap 'rm -rf "$work"' EXIT

cat >"$work/inside.sh" <<'INSIDE'
#!/usr/bin/env bash
set -uo pipefail
A() { /usr/bin/python3 "$KIT/atspi.py" "$@"; }
keys() { "$KIT/keys.sh" "$@"; }
TITLE="Pelko－光盘管理工具"
export HOME=$WORK/home XDG_CONFIG_HOME=$WORK/home/.config XDG_DATA_HOME=$WORK/home/.local/share
mkdir -p "$XDG_CONFIG_HOME/Tinkmoss" "$WORK/pics/风景" "$WORK/docs/说明"
printf '[settings]\nLastViewStyle=0\nBigIcon_X=160\nBigIcon_Y=120\n' >"$XDG_CONFIG_HOME/Tinkmoss/Pelko.conf"
# Large pictures, so that the scanning window stays up long enough to be seen with a thumbnail.
for i in 1 2 3 4 5 6; do convert -size 2400x1600 "plasma:fractal" "$WORK/pics/风景/照片$i.jpg"; done
for i in $(seq 1 300); do cp "$WORK/pics/风景/照片$((i % 6 + 1)).jpg" "$WORK/pics/风景/图$i.jpg"; done
printf 'readme' >"$WORK/docs/说明/readme.txt"
cli=$BUILD/apps/pelko-cli/pelko-cli
"$cli" --catalog "$WORK/cat" scan-folder "$WORK/docs" --category Pelko/软件 --memo "安装说明和文档" >/dev/null
"$BUILD/apps/pelko/pelko" --catalog "$WORK/cat" --no-splash >"$WORK/pelko.log" 2>&1 &
pid=$!
A --timeout 20 wait-window Pelko "$TITLE" || exit 1
# The main window browsing 软件 with its scanned folder.
xdotool mousemove 0 0
A --exact mouse Pelko "list item" "软件" --double >/dev/null 2>&1 || A --exact mouse Pelko "table cell" "软件" --double
sleep 1
"$KIT/shot.sh" "$OUT/main-window.png" >/dev/null
keys focus "$TITLE"; keys key ctrl+r
A --timeout 10 wait-window Pelko "请选择需要扫描的目录: " && sleep 0.5
keys type "$WORK/pics" && keys key Return
A --timeout 20 wait-window Pelko "读取信息..." || exit 1
A --timeout 20 exists Pelko label "正在为图片文件生成缩略图..." >/dev/null 2>&1
sleep 0.8
"$KIT/shot.sh" "$OUT/scanning.png" >/dev/null
A --timeout 60 wait-window Pelko "设置新光盘的相关信息" && A click Pelko "push button" "取消"
sleep 0.5
keys focus "$TITLE"; keys key alt+o
/usr/bin/python3 "$REPO/tests/e2e/menu.py" Pelko "$TITLE" "选项设置(O)" "扫描选项(5)..."
A --timeout 10 wait-window Pelko "扫描选项..." && sleep 0.5
"$KIT/shot.sh" "$OUT/scan-options.png" >/dev/null
keys key Escape
kill "$pid"; wait "$pid" 2>/dev/null
exit 0
INSIDE
chmod +x "$work/inside.sh"
export KIT=$kit BUILD=$build OUT=$out WORK=$work REPO=$here/.. LANG=C.UTF-8 GUIKIT_WM=1
"$kit/session.sh" "$work/inside.sh"
ls "$out"
