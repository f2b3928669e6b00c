#!/usr/bin/env bash
# End-to-end tests of the desktop program, used as a person would use it: each scenario starts
# `pelko` inside a private desktop session (Xvfb, a window manager, the accessibility bus; the kit
# in ../shared/guikit), reads what is on the screen over AT-SPI, types, clicks and checks.
#
#   run.sh BUILD_DIR [SCENARIO...]      every scenario, or only the ones named
#                                       (PELKO_E2E_TRACE=1 prints each passed step and its time)
#
# Screenshots go to BUILD_DIR/e2e-shots (printed at the end). Exit status: 0 when every scenario
# passed, 1 when one failed, 77 (the skip status ctest is told about) when the machine lacks what
# the run needs: the desktop program in the build, the kit, Xvfb and the kit's tools. Under CI (CI
# set to anything but "", "0" or "false") a missing need fails instead, since CI installs them all.
set -uo pipefail

here=$(cd "$(dirname "$0")" && pwd)
repo=$(cd "$here/../.." && pwd)

# ---------------------------------------------------------------------------------------------
# Inside the session: helpers and scenarios.
# ---------------------------------------------------------------------------------------------
if [ "${1:-}" = --inside ]; then
  shift
  : "${E2E_KIT:?}" "${E2E_GUI:?}" "${E2E_CLI:?}" "${E2E_SHOTS:?}" "${E2E_TMP:?}"
  T=$E2E_TMP
  APP=${E2E_APP:-Pelko}   # the program's name on the accessibility bus (its application name)
  TITLE="Pelko－光盘管理工具"
  LOG="$T/pelko.log"
  pids=()
  status=""
  failures=0
  scenario=""

  A() { /usr/bin/python3 "$E2E_KIT/atspi.py" "$@"; }
  keys() { "$E2E_KIT/keys.sh" "$@"; }

  # check DESCRIPTION COMMAND...: runs the command; on failure says what failed (with the end of
  # its output) and returns 1, so that a scenario stops at its first failed step.
  check() {
    local what=$1
    shift
    local began=$EPOCHREALTIME
    if "$@" >"$T/step.out" 2>&1; then
      [ -n "${PELKO_E2E_TRACE:-}" ] && printf '  ok %.1fs %s\n' "$(bc <<<"$EPOCHREALTIME - $began")" "$what"
      return 0
    fi
    echo "FAIL [$scenario] $what"
    sed 's/^/    /' "$T/step.out" | tail -n 8
    return 1
  }

  # start ARGS...: starts the program in the background; $pid is its process id.
  start() {
    "$E2E_GUI" "$@" >>"$LOG" 2>&1 &
    pid=$!
    pids+=("$pid")
  }

  # ended PID [SECONDS]: true once the process has ended (within SECONDS, default 10); its exit
  # status is then in $status.
  ended() {
    local p=$1 tenths=$(( ${2:-10} * 10 ))
    while kill -0 "$p" 2>/dev/null && [ "$tenths" -gt 0 ]; do sleep 0.1; tenths=$((tenths - 1)); done
    kill -0 "$p" 2>/dev/null && return 1
    wait "$p"; status=$?
    return 0
  }

  # Ends what a scenario left running (after a failed step).
  stop_all() {
    local p
    for p in "${pids[@]}"; do kill "$p" 2>/dev/null; done
    for p in "${pids[@]}"; do wait "$p" 2>/dev/null; done
    pids=()
  }

  # The main window's X id: the one mapped window titled exactly TITLE (ask while no message box,
  # which has the same title, is up); mapped/unmapped ID: whether that window is on the screen.
  main_window() { xdotool search --onlyvisible --name "^${TITLE}\$" 2>/dev/null | head -n 1; }
  mapped() { xdotool search --onlyvisible --name "^${TITLE}\$" 2>/dev/null | grep -qx "$1"; }
  unmapped() { ! mapped "$1"; }
  # pane_shown: the dock pane 提示信息 is on the screen.
  pane_shown() { local tree; tree=$(A tree "$APP" --depth 3) && grep -q "\[frame\] '提示信息' .*showing" <<<"$tree"; }
  # No main window is on the screen (a message box with the same title may be).
  main_frame_hidden() { local tree; tree=$(A tree "$APP" --depth 2) && ! grep -q "\[frame\] '${TITLE}' .*showing" <<<"$tree"; }
  tree_root_is_pelko() { [ "$(A rows "$APP" tree "光盘库" | head -n 1)" = Pelko ]; }
  is_active() { [ "$(xdotool getactivewindow 2>/dev/null)" = "$1" ]; }
  set_password() { printf '%s\n' "$2" | "$E2E_CLI" --catalog "$1" passwd; }
  pane_text() { A text "$APP" text "提示信息"; }
  all_there() { local text=$1 line; shift; for line in "$@"; do grep -qF -- "$line" <<<"$text" || return 1; done; }
  # pane_has LINE...: the pane shows every LINE (waiting a little for it).
  pane_has() {
    local text tries=20
    while :; do
      text=$(pane_text) || return 1
      all_there "$text" "$@" && return 0
      tries=$((tries - 1)); [ "$tries" -gt 0 ] || { echo "the pane shows:"; echo "$text"; return 1; }
      sleep 0.2
    done
  }
  pane_lacks() { local text; text=$(pane_text) && ! grep -qF -- "$1" <<<"$text"; }
  # The lines the pane scenario loads, GBK with CR LF as the pane saves them.
  pane_lines() { printf '第一行 e2e\r\n第二行 Pelko\\软件\r\n' | iconv -f UTF-8 -t GBK; }
  # saved_text_is FILE: FILE holds exactly those lines.
  saved_text_is() {
    local want
    want=$(pane_lines | od -An -tx1)
    for _ in $(seq 1 20); do [ -s "$1" ] && break; sleep 0.1; done
    [ "$(od -An -tx1 <"$1")" = "$want" ] || { echo "saved bytes:"; od -c "$1" | head; return 1; }
  }
  # choose_file PATH: types PATH into the file dialog that is opening and accepts it.
  choose_file() {
    local tries=50
    until A --timeout 1 windows "$APP" 2>/dev/null | grep -q '^dialog'; do
      tries=$((tries - 1)); [ "$tries" -gt 0 ] || { echo "no file dialog opened"; return 1; }
      sleep 0.1
    done
    sleep 0.3
    keys type "$1" && keys key Return || return 1
    tries=50
    while A --timeout 1 windows "$APP" 2>/dev/null | grep -q '^dialog'; do
      tries=$((tries - 1)); [ "$tries" -gt 0 ] || { echo "the file dialog stayed open"; return 1; }
      sleep 0.1
    done
  }
  # eventually COMMAND...: COMMAND succeeds within about five seconds.
  eventually() {
    local tries=50
    until "$@" >/dev/null 2>&1; do
      tries=$((tries - 1)); [ "$tries" -gt 0 ] || { "$@"; return 1; }
      sleep 0.1
    done
  }
  has_line() { grep -qxF -- "$2" <<<"$1"; }
  has_text() { grep -qF -- "$2" <<<"$1"; }

  # choose MENU ITEM: opens the main menu MENU ("文件(F)") with Alt and its mnemonic and clicks its
  # entry ITEM with the mouse once the menu is on the screen. (An entry triggered over AT-SPI
  # would not answer the call while the modal dialog it opens is up.)
  choose() {
    local key
    key=$(tr '[:upper:]' '[:lower:]' <<<"${1: -2:1}")
    for _ in 1 2 3; do
      keys focus "$TITLE" && keys key "alt+$key" || return 1
      /usr/bin/python3 "$here/menu.py" "$APP" "$TITLE" "$1" "$2" && return 0
      keys key Escape
    done
    return 1
  }
  # running_message: a copy shows "…正在运行！". Asked afresh each time, since the kit looks only at
  # the copies that are on the accessibility bus when it starts, and the second may come later.
  running_message() {
    local tries=40
    until A --timeout 0.5 text "$APP" "label" "${TITLE}正在运行！" 2>/dev/null; do
      tries=$((tries - 1)); [ "$tries" -gt 0 ] || { echo "no copy says ${TITLE}正在运行！"; return 1; }
    done
  }
  # button NAME: a real click on the button NAME. The pointer is moved off first: the kit's click
  # waits for a pointer motion, and there is none when the pointer already rests on the button (a
  # dialog shown a second time).
  button() { xdotool mousemove 0 0 && A mouse "$APP" "push button" "$1"; }
  # Presses the button named by one of the NAMEs (Qt's own buttons read "确定" with the Chinese
  # translations loaded, "OK" without them).
  press() {
    local name
    for name in "$@"; do
      A --timeout 1 exists "$APP" "push button" "$name" 2>/dev/null && button "$name" && return 0
    done
    echo "no button named any of: $*"
    return 1
  }

  # Closes the main window through 文件 > 退出 and answers the close dialog with 确认, ticking
  # "下次不再提示" first when asked to.
  close_main() {
    local tick=${1:-}
    choose "文件(F)" "退出(X)" || return 1
    A wait-window "$APP" "关闭${TITLE}" || return 1
    if [ -n "$tick" ]; then A click "$APP" "check box" "下次不再提示" || return 1; fi
    button "确认"
  }

  # --- Scenarios ---------------------------------------------------------------------------

  # A first start on an empty catalog folder: the window, the tree root with the default
  # categories, the menus with their texts and shortcuts, the message pane; then the close.
  scenario_fresh_catalog() {
    start --catalog "$T/fresh"
    check "the main window shows" A --timeout 20 wait-window "$APP" "$TITLE" || return 1
    check "a first start stores no setting" test ! -e "$XDG_CONFIG_HOME/Tinkmoss/Pelko.conf" || return 1
    local rows
    rows=$(A rows "$APP" tree "光盘库" 2>&1)
    check "the tree's first row is the root Pelko" has_line "$(head -n 1 <<<"$rows")" "Pelko" || return 1
    local category
    for category in 图片 软件 图书 游戏 音乐 影碟; do
      check "the default category $category is in the tree" has_line "$rows" "$category" || return 1
    done

    local menu expected
    menu=$(A menu "$APP")
    while IFS= read -r expected; do
      [ -z "$expected" ] && continue
      check "menu entry: $expected" has_text "$menu" "$expected" || return 1
    done <<'EOF'
文件(F) > 自动扫描光盘(S)...	Ctrl+S
文件(F) > 扫描指定盘符(D)...	Ctrl+D
文件(F) > 扫描指定目录(R)...	Ctrl+R
文件(F) > 导入光盘文件(O)...	Ctrl+O
文件(F) > 弹出光驱(J)	Ctrl+J
文件(F) > 关闭光驱(I)	Ctrl+I
文件(F) > 退出(X)
编辑(E) > 剪切(T)	Ctrl+X
编辑(E) > 粘贴(P)	Ctrl+V
编辑(E) > 查找(F)...	Ctrl+F
查看(V) > 提示信息窗口(P)	Alt+2
查看(V) > 下一个窗格	F6
查看(V) > 上一个窗格	Shift+F6
提示信息窗口(T) > 下一行信息(N)	F7
提示信息窗口(T) > 上一行信息(P)	F8
功能开关(S) > 开机自动运行(9)
选项设置(O) > 设置密码(7)...
帮助(H) > 帮助(H)...	F1
帮助(H) > 关于 (A)...
EOF
    # Check marks: the bars are on at start, the message pane is off.
    local line
    for line in "查看(V) > 工具栏(T)	Alt+T [x]" "查看(V) > 路径栏(P)	Alt+P [x]" "查看(V) > 状态栏(S)	Alt+S [x]" \
                "查看(V) > 提示信息窗口(P)	Alt+2"; do
      check "menu entry, exactly: $line" has_line "$menu" "$line" || return 1
    done
    check "the status bar is there" A exists "$APP" "status bar" "" || return 1
    check "a tool button has its accessible name" A exists "$APP" "push button" "自动扫描光盘(S)" || return 1
    sleep 0.3
    check "screenshot of the main window" "$E2E_KIT/shot.sh" "$E2E_SHOTS/main-window.png" || return 1

    # The message pane is hidden at start; Alt+2 shows it.
    keys focus "$TITLE"
    keys key alt+2
    check "Alt+2 shows the message pane 提示信息" eventually pane_shown || return 1
    sleep 0.3
    check "screenshot of the message pane" "$E2E_KIT/shot.sh" "$E2E_SHOTS/message-pane-at-start.png" || return 1

    check "the close dialog is answered" close_main || return 1
    check "the program ends after the close" ended "$pid" || return 1
    check "the program ends with status 0" test "$status" -eq 0 || return 1
    check "the catalog was written" test -s "$T/fresh/tnk.dat" || return 1
  }

  # The close dialog: 取消 keeps the window; 确认 with "下次不再提示" ticked closes it, and the next
  # close asks nothing.
  scenario_close_dialog() {
    start --catalog "$T/closing"
    check "the main window shows" A --timeout 20 wait-window "$APP" "$TITLE" || return 1
    check "退出 opens the close dialog" choose "文件(F)" "退出(X)" || return 1
    check "the close dialog shows" A wait-window "$APP" "关闭${TITLE}" || return 1
    check "the dialog offers 下次不再提示" A exists "$APP" "check box" "下次不再提示" || return 1
    check "取消 answers the dialog" button "取消" || return 1
    sleep 0.5
    check "after 取消 the program still runs" kill -0 "$pid" || return 1
    check "after 取消 the main window is still there" A wait-window "$APP" "$TITLE" || return 1

    check "the close dialog is answered with 下次不再提示 ticked" close_main tick || return 1
    check "the program ends after the close" ended "$pid" || return 1

    start --catalog "$T/closing"
    check "the main window shows again" A --timeout 20 wait-window "$APP" "$TITLE" || return 1
    check "退出 is chosen" choose "文件(F)" "退出(X)" || return 1
    check "the program ends without asking again" ended "$pid" 5 || return 1
    check "the program ends with status 0" test "$status" -eq 0 || return 1
  }

  # A catalog with a password: a wrong one gets the message and the program ends without its
  # window; the right one opens the window.
  scenario_password() {
    check "pelko-cli sets the password" set_password "$T/locked" Secret9 || return 1

    start --catalog "$T/locked"
    check "the login dialog 输入密码 shows" A --timeout 20 wait-window "$APP" "输入密码" || return 1
    check "nothing of the catalog shows before the login" main_frame_hidden || return 1
    keys focus "输入密码"
    keys type "wrong"
    check "确认 answers the login" button "确认" || return 1
    check "the wrong password is refused with its message" \
      A text "$APP" "label" "输入的密码不正确, 请重新登录" || return 1
    check "the main window is still not shown" main_frame_hidden || return 1
    check "the message is acknowledged" press "确定" "OK" || return 1
    check "after a wrong password the program ends" ended "$pid" || return 1

    start --catalog "$T/locked"
    check "the login dialog shows again" A --timeout 20 wait-window "$APP" "输入密码" || return 1
    keys focus "输入密码"
    keys type "Secret9"
    check "确认 answers the login" button "确认" || return 1
    check "the right password opens the main window" A --timeout 20 wait-window "$APP" "$TITLE" || return 1
    check "the tree shows the root" tree_root_is_pelko || return 1
    check "the close dialog is answered" close_main || return 1
    check "the program ends after the close" ended "$pid" || return 1
  }

  # A second copy says the program is running and ends; the first one's window comes forward.
  scenario_second_copy() {
    start --catalog "$T/twice"
    local first=$pid window
    check "the main window shows" A --timeout 20 wait-window "$APP" "$TITLE" || return 1
    for _ in $(seq 1 50); do
      window=$(main_window)
      [ -n "$window" ] && break
      sleep 0.1
    done
    check "the main window is mapped" test -n "$window" || return 1
    xdotool windowminimize --sync "$window" 2>/dev/null
    check "the first window is minimised" eventually unmapped "$window" || return 1

    start --catalog "$T/twice"
    local second=$pid
    check "the second copy says the program is running" running_message || return 1
    check "the message is acknowledged" press "确定" "OK" || return 1
    check "the second copy ends" ended "$second" || return 1
    check "the first copy still runs" kill -0 "$first" || return 1
    check "the first copy's window is shown again" eventually mapped "$window" || return 1
    check "the first copy's window is the active one" eventually is_active "$window" || return 1
    pid=$first
    check "the close dialog is answered" close_main || return 1
    check "the program ends after the close" ended "$first" || return 1
  }

  # tray_icon: the X id of the program's icon in the panel's tray (a small window of the program).
  tray_icon() {
    local w geometry
    for w in $(xdotool search --onlyvisible --class pelko 2>/dev/null); do
      geometry=$(xdotool getwindowgeometry "$w" 2>/dev/null | sed -n 's/.*Geometry: \([0-9]*\)x\([0-9]*\).*/\1 \2/p')
      read -r width height <<<"$geometry"
      if [ -n "$width" ] && [ "$width" -le 64 ] && [ "$height" -le 64 ]; then echo "$w"; return 0; fi
    done
    return 1
  }
  # left_click WINDOW: a real left click near the window's top-left corner.
  left_click() { xdotool mousemove --window "$1" 6 6 click 1; }

  # RunOnTray on a desktop with a tray: the program starts in the tray without its window; a left
  # click on the icon shows the window, the next one hides it again.
  scenario_tray() {
    local icon window
    mkdir -p "$XDG_CONFIG_HOME/Tinkmoss"
    printf '[settings]\nRunOnTray=1\n' >"$XDG_CONFIG_HOME/Tinkmoss/Pelko.conf"
    start --catalog "$T/tray"
    check "the icon appears in the tray" eventually tray_icon || return 1
    icon=$(tray_icon)
    check "the main window is not shown at start" main_frame_hidden || return 1
    check "a left click on the icon shows the window" left_click "$icon" || return 1
    check "the main window shows" A --timeout 20 wait-window "$APP" "$TITLE" || return 1
    window=$(main_window)
    check "the main window is mapped" test -n "$window" || return 1
    "$E2E_KIT/shot.sh" "$E2E_SHOTS/tray-window.png" >/dev/null 2>&1
    check "a second left click hides it" left_click "$icon" || return 1
    check "the window leaves the screen" eventually unmapped "$window" || return 1
    check "a third left click shows it again" left_click "$icon" || return 1
    check "the window is back" eventually mapped "$window" || return 1
    check "the close dialog is answered" close_main || return 1
    check "the program ends after the close" ended "$pid" || return 1
    check "the icon has left the tray" eventually sh -c "! xdotool search --onlyvisible --class pelko" || return 1
  }

  # list_rows: the rows of the content list in the report style, one line each, cells by tabs.
  list_rows() { A rows "$APP" tree "内容"; }
  list_has() { local rows; rows=$(list_rows) && grep -qF -- "$1" <<<"$rows"; }
  list_lacks() { local rows; rows=$(list_rows) && ! grep -qF -- "$1" <<<"$rows"; }
  # path_text_is TEXT: the status bar's path pane shows TEXT.
  path_text_is() { A --exact --timeout 1 exists "$APP" label "$1"; }
  # click_cell NAME [--double]: a real click on the first cell showing NAME. The pointer leaves
  # first, since the kit's click waits for a pointer motion.
  click_cell() { xdotool mousemove 0 0 && A --exact mouse "$APP" "table cell" "$@"; }
  # drag FROM_VIEW FROM_CELL TO_VIEW TO_CELL: a mouse drag between two cells.
  drag() { /usr/bin/python3 "$here/drag.py" "$APP" "$@"; }
  # style_button NAME: a real click on the view-style tool button NAME (a check button).
  style_button() { xdotool mousemove 0 0 && A --exact mouse "$APP" "check box" "$1"; }
  first_list_row_is() { [ "$(list_rows | head -n 1 | cut -f1)" = "$1" ]; }

  # A scanned disc browsed from the two panes: opened from the list, a pane line followed with
  # F7, a file renamed in place, the disc dragged into another category and deleted after the
  # question.
  scenario_browsing() {
    local disc=$T/disc1
    mkdir -p "$disc/Songs"
    printf 'x' >"$disc/Songs/a.mp3"
    printf 'n' >"$disc/notes.txt"
    convert -size 160x120 gradient:orange-navy "$T/cover.jpg" || return 1
    check "pelko-cli scans a folder into 音乐" \
      "$E2E_CLI" --catalog "$T/browse" scan-folder "$disc" --category "Pelko/音乐" --name Disc1 || return 1
    mkdir -p "$XDG_CONFIG_HOME/Tinkmoss"
    printf '[settings]\nLastViewStyle=1\n' >"$XDG_CONFIG_HOME/Tinkmoss/Pelko.conf"
    printf '第一行\r\nPelko\\音乐\\Disc1\\Songs\\a.mp3\r\n' | iconv -f UTF-8 -t GBK >"$T/goto.txt"

    start --catalog "$T/browse"
    check "the main window shows" A --timeout 20 wait-window "$APP" "$TITLE" || return 1
    check "the list shows the root's categories" eventually list_has "音乐" || return 1
    check "a double click on 音乐 opens the category" click_cell "音乐" --double || return 1
    check "the list shows the disc" eventually list_has "Disc1" || return 1
    check "a double click on Disc1 opens the disc" click_cell "Disc1" --double || return 1
    check "the list shows the disc's root folder" eventually list_has "Songs" || return 1
    check "the first row is ReadMe" eventually first_list_row_is ReadMe || return 1
    check "the status bar shows the disc's path" eventually path_text_is 'Pelko\音乐\Disc1' || return 1
    "$E2E_KIT/shot.sh" "$E2E_SHOTS/browsing-disc.png" >/dev/null 2>&1

    check "打开文件 is chosen" choose "提示信息窗口(T)" "打开文件(O)" || return 1
    check "the file of lines is chosen" choose_file "$T/goto.txt" || return 1
    check "the pane shows the path line" pane_has 'Pelko\音乐\Disc1\Songs\a.mp3' || return 1
    keys focus "$TITLE"
    # Ctrl+A puts the focus into the pane; Ctrl+Home takes the caret to the first line, and F7
    # walks on to the next line that names an item.
    check "Ctrl+A selects the pane's lines" keys key ctrl+a || return 1
    check "Ctrl+Home goes to the first line" keys key ctrl+Home || return 1
    check "F7 walks to the path line" keys key F7 || return 1
    check "the tree goes to the folder Songs" eventually path_text_is 'Pelko\音乐\Disc1\Songs' || return 1
    check "the list shows the folder's file" eventually list_has "a.mp3" || return 1

    check "a click selects a.mp3" click_cell "a.mp3" || return 1
    check "F2 opens the name for editing" keys key F2 || return 1
    sleep 0.3
    keys type "b.mp3" && keys key Return
    check "the file is shown with its new name" eventually list_has "b.mp3" || return 1
    check "the old name is gone" list_lacks "a.mp3" || return 1

    check "the disc is dragged onto 影碟" drag "光盘库" "Disc1" "光盘库" "影碟" || return 1
    check "the status bar shows the moved disc's new category" eventually path_text_is 'Pelko\影碟' || return 1
    check "the list of 影碟 shows the disc" eventually list_has "Disc1" || return 1
    "$E2E_KIT/shot.sh" "$E2E_SHOTS/browsing-moved.png" >/dev/null 2>&1

    check "a click selects the disc in the list" click_cell "Disc1" || return 1
    check "导入封面图片 opens the picture chooser" button "导入封面图片(P)" || return 1
    check "a picture is chosen as the cover" choose_file "$T/cover.jpg" || return 1
    check "the cover is in the catalog's Disk folder" eventually sh -c "ls '$T/browse/Disk/'*.jpg" || return 1
    check "大图标 shows large icons" style_button "大图标" || return 1
    sleep 1
    "$E2E_KIT/shot.sh" "$E2E_SHOTS/browsing-cover.png" >/dev/null 2>&1
    check "详细资料 shows the report again" style_button "详细资料" || return 1
    check "a click selects the disc again" click_cell "Disc1" || return 1
    check "Delete asks first" keys key Delete || return 1
    check "the question names the disc" A text "$APP" label "删除光盘 'Disc1'？" || return 1
    check "the question is answered Yes" press "是(Y)" "Yes" "确定" "OK" || return 1
    check "the disc leaves the list" eventually list_lacks "Disc1" || return 1
    check "the close dialog is answered" close_main || return 1
    check "the program ends after the close" ended "$pid" || return 1
    check "the catalog file no longer holds the disc" sh -c "! '$E2E_CLI' --catalog '$T/browse' tree | grep -q Disc1" || return 1
  }

  # wait_dialog TITLE: a window of the program titled TITLE is up (within about ten seconds).
  wait_dialog() { A --timeout 10 wait-window "$APP" "$1"; }
  # choose_in TITLE PATH: types PATH into the file dialog TITLE and accepts it (other dialogs may
  # follow at once, so it waits for that one dialog only).
  choose_in() {
    wait_dialog "$1" || return 1
    sleep 0.3
    keys type "$2" && keys key Return || return 1
    local tries=50
    until dialog_gone "$1"; do
      tries=$((tries - 1)); [ "$tries" -gt 0 ] || { echo "the file dialog stayed open"; return 1; }
      sleep 0.1
    done
  }
  name_field_is() { [ "$(A --timeout 1 text "$APP" text "名称")" = "$1" ]; }
  dialog_gone() { ! A --timeout 1 windows "$APP" 2>/dev/null | grep -qxF "dialog	$1"; }

  # Scanning from the program: a folder of large pictures (so the scanning window stays up long
  # enough to be seen with a thumbnail) filed into 音乐, a disc image, and the folder scanned again
  # after the re-scan question.
  scenario_scanning() {
    local pics=$T/pics
    mkdir -p "$pics/sub" "$T/iso/docs"
    convert -size 2400x1600 plasma:fractal "$pics/sub/p0.jpg" || return 1
    local i
    for i in $(seq 1 200); do cp "$pics/sub/p0.jpg" "$pics/sub/p$i.jpg"; done
    printf 'r' >"$pics/readme.txt"
    printf 'd' >"$T/iso/docs/a.txt"
    genisoimage -quiet -V E2EDISC -o "$T/disc.iso" "$T/iso" || return 1
    mkdir -p "$XDG_CONFIG_HOME/Tinkmoss"
    printf '[settings]\nLastViewStyle=1\n' >"$XDG_CONFIG_HOME/Tinkmoss/Pelko.conf"

    start --catalog "$T/scan"
    check "the main window shows" A --timeout 20 wait-window "$APP" "$TITLE" || return 1
    check "the list shows the root's categories" eventually list_has "音乐" || return 1
    check "a double click on 音乐 opens the category" click_cell "音乐" --double || return 1
    check "the list shows 音乐" eventually path_text_is 'Pelko\音乐' || return 1
    keys focus "$TITLE"
    check "Ctrl+R asks for a folder" keys key ctrl+r || return 1
    check "the folder of pictures is chosen" choose_in "请选择需要扫描的目录: " "$pics" || return 1
    check "the scanning window 读取信息... shows" wait_dialog "读取信息..." || return 1
    check "the scanning window shows a thumbnail" eventually A --timeout 1 exists "$APP" label "正在为图片文件生成缩略图..." || return 1
    "$E2E_KIT/shot.sh" "$E2E_SHOTS/scanning-window.png" >/dev/null 2>&1
    check "the new-object dialog comes after the scan" wait_dialog "设置新光盘的相关信息" || return 1
    check "the scanning window is gone" dialog_gone "读取信息..." || return 1
    check "确认 files the folder" press "确认" || return 1
    check "the list of 音乐 shows the new folder scan" eventually list_has "pics" || return 1
    check "its thumbnails are in the catalog's Disk folder" sh -c "ls -d '$T/scan/Disk/'*.pic" || return 1

    check "扫描光盘映像文件 is chosen" choose "文件(F)" "扫描光盘映像文件(I)..." || return 1
    check "the image is chosen" choose_in "选择光盘映像文件" "$T/disc.iso" || return 1
    check "the new-object dialog offers the image's label" wait_dialog "设置新光盘的相关信息" || return 1
    check "the name field holds the label" eventually name_field_is "E2EDISC" || return 1
    check "确认 files the disc" press "确认" || return 1
    check "the list shows the disc" eventually list_has "E2EDISC" || return 1

    keys focus "$TITLE"
    check "Ctrl+R asks for a folder again" keys key ctrl+r || return 1
    check "the same folder is chosen" choose_in "请选择需要扫描的目录: " "$pics" || return 1
    check "the re-scan question names the folder and its place" \
      A --timeout 10 text "$APP" label '[ pics ] 内容已经扫描，路径为 [ Pelko\音乐\pics ]. 是否需要重新扫描？' || return 1
    check "the question is answered Yes" press "是(Y)" "Yes" || return 1
    check "the re-scan reports success" A --timeout 20 text "$APP" label "重新扫描文件夹 [ pics ] 成功！" || return 1
    check "the message is closed" press "确定" "OK" || return 1
    check "the close dialog is answered" close_main || return 1
    check "the program ends after the close" ended "$pid" || return 1
    check "the saved catalog holds the image's disc" sh -c "'$E2E_CLI' --catalog '$T/scan' tree | grep -q E2EDISC" || return 1
    check "the saved catalog holds the folder under 音乐" sh -c "'$E2E_CLI' --catalog '$T/scan' tree | grep -A3 音乐 | grep -q pics" || return 1
  }

  # The message pane's lines saved as GBK text with CR LF and as RTF, cleared, and loaded back.
  scenario_pane_files() {
    pane_lines >"$T/lines.txt"
    start --catalog "$T/pane"
    check "the main window shows" A --timeout 20 wait-window "$APP" "$TITLE" || return 1
    keys focus "$TITLE"
    keys key alt+2
    check "Alt+2 shows the message pane" eventually pane_shown || return 1

    check "打开文件 is chosen" choose "提示信息窗口(T)" "打开文件(O)" || return 1
    check "a text file is chosen in the file dialog" choose_file "$T/lines.txt" || return 1
    check "the pane shows the file's lines" pane_has "第一行 e2e" "第二行 Pelko\软件" || return 1
    sleep 0.3
    check "screenshot of the message pane" "$E2E_KIT/shot.sh" "$E2E_SHOTS/message-pane.png" || return 1

    check "保存到文件 is chosen" choose "提示信息窗口(T)" "保存到文件(S)" || return 1
    check "a .txt name is given" choose_file "$T/saved.txt" || return 1
    check "the text file is written in GBK with CR LF" saved_text_is "$T/saved.txt" || return 1
    check "保存到文件 is chosen again" choose "提示信息窗口(T)" "保存到文件(S)" || return 1
    check "an .rtf name is given" choose_file "$T/saved.rtf" || return 1
    check "the RTF file is written" bash -c "head -c 5 \"\$1\" | grep -qF '{\\rtf'" _ "$T/saved.rtf" || return 1

    check "清空所有信息 is chosen" choose "提示信息窗口(T)" "清空所有信息(C)" || return 1
    check "the pane is empty" pane_lacks "第一行 e2e" || return 1
    check "打开文件 is chosen" choose "提示信息窗口(T)" "打开文件(O)" || return 1
    check "the RTF file is chosen" choose_file "$T/saved.rtf" || return 1
    check "the pane shows the lines again" pane_has "第一行 e2e" "第二行 Pelko\软件" || return 1

    check "the close dialog is answered" close_main || return 1
    check "the program ends after the close" ended "$pid" || return 1
  }

  # tick LABEL: a real click on the check box LABEL of the dialog in front.
  tick() { xdotool mousemove 0 0 && A --exact mouse "$APP" "check box" "$1"; }
  ini_has() { grep -qxF -- "$1" "$XDG_CONFIG_HOME/Tinkmoss/Pelko.conf"; }

  # An option changed through its dialog: 扫描选项 with "仅扫描目录" ticked reaches the INI file
  # at once, and the next folder scan keeps the folders and leaves every file out.
  scenario_options() {
    local folder=$T/optscan
    mkdir -p "$folder/sub"
    printf 'x' >"$folder/sub/inner.txt"
    printf 'y' >"$folder/top.txt"
    mkdir -p "$XDG_CONFIG_HOME/Tinkmoss"
    printf '[settings]\nLastViewStyle=1\n' >"$XDG_CONFIG_HOME/Tinkmoss/Pelko.conf"

    start --catalog "$T/opt"
    check "the main window shows" A --timeout 20 wait-window "$APP" "$TITLE" || return 1
    check "扫描选项 is chosen" choose "选项设置(O)" "扫描选项(5)..." || return 1
    check "the scan options dialog shows" wait_dialog "扫描选项..." || return 1
    check "仅扫描目录 is ticked" tick "仅扫描目录，忽略所有文件" || return 1
    sleep 0.3
    "$E2E_KIT/shot.sh" "$E2E_SHOTS/scan-options.png" >/dev/null 2>&1
    check "确认 closes the dialog" press "确认" || return 1
    check "the INI file holds the option" eventually ini_has "g_bCheckOnlyDir=1" || return 1

    check "a double click on 音乐 opens the category" click_cell "音乐" --double || return 1
    check "the list shows 音乐" eventually path_text_is 'Pelko\音乐' || return 1
    keys focus "$TITLE"
    check "Ctrl+R asks for a folder" keys key ctrl+r || return 1
    check "the folder is chosen" choose_in "请选择需要扫描的目录: " "$folder" || return 1
    check "the new-object dialog comes after the scan" wait_dialog "设置新光盘的相关信息" || return 1
    check "确认 files the folder" press "确认" || return 1
    check "the list of 音乐 shows the new folder scan" eventually list_has "optscan" || return 1
    check "the close dialog is answered" close_main || return 1
    check "the program ends after the close" ended "$pid" || return 1
    "$E2E_CLI" dump "$T/opt/Disk/"*.pkb.zip >"$T/optscan.dump" 2>&1
    check "the scan holds the folder" grep -q "^sub/" "$T/optscan.dump" || return 1
    check "the scan holds no file" bash -c "! grep -qE 'top\.txt|inner\.txt' '$T/optscan.dump'" || return 1
  }

  # Scenarios kept in files of their own: scenarios/NAME.sh defines scenario_NAME with the helpers
  # above, and runs after the ones of this file.
  own=()
  for file in "$here"/scenarios/*.sh; do
    [ -e "$file" ] || continue
    . "$file"
    own+=("$(basename "$file" .sh)")
  done
  all=(fresh_catalog close_dialog password second_copy pane_files tray browsing scanning options "${own[@]}")
  chosen=("$@")
  [ ${#chosen[@]} -eq 0 ] && chosen=("${all[@]}")
  for scenario in "${chosen[@]}"; do
    if ! declare -F "scenario_$scenario" >/dev/null; then
      echo "FAIL no scenario named $scenario (there are: ${all[*]})"
      failures=$((failures + 1))
      continue
    fi
    started=$SECONDS
    # Each scenario starts as a new user: the program's settings, data and caches in a home of
    # its own, so that an answer stored by one ("下次不再提示") does not reach the next.
    export HOME="$T/home-$scenario"
    export XDG_CONFIG_HOME="$HOME/.config" XDG_DATA_HOME="$HOME/.local/share" XDG_CACHE_HOME="$HOME/.cache"
    mkdir -p "$HOME"
    if "scenario_$scenario"; then
      echo "PASS $scenario ($((SECONDS - started)) s)"
    else
      failures=$((failures + 1))
      "$E2E_KIT/shot.sh" "$E2E_SHOTS/failed-$scenario.png" 2>/dev/null
    fi
    stop_all
  done
  if [ "$failures" -gt 0 ] && [ -s "$LOG" ]; then
    echo "--- what the program wrote:"
    tail -n 20 "$LOG"
  fi
  exit $((failures > 0))
fi

# ---------------------------------------------------------------------------------------------
# Outside: find what the run needs, then run the scenarios inside one desktop session.
# ---------------------------------------------------------------------------------------------
[ $# -ge 1 ] || { echo "usage: run.sh BUILD_DIR [SCENARIO...]" >&2; exit 2; }
build=$(cd "$1" && pwd) || exit 2
shift

under_ci() { case "${CI:-}" in ""|0|false) return 1 ;; *) return 0 ;; esac; }
# A need that is not met skips the run, except under CI where it is a broken set-up.
missing() {
  if under_ci; then
    echo "FAIL: $1 (CI is set: what the end-to-end tests need must be there)"
    exit 1
  fi
  echo "SKIP: $1"
  exit 77
}

kit=${PELKO_GUIKIT:-$repo/../shared/guikit}
gui=${PELKO_E2E_PROGRAM:-$build/apps/pelko/pelko}
cli=$build/apps/pelko-cli/pelko-cli
[ -x "$kit/session.sh" ] && [ -f "$kit/atspi.py" ] || missing "the desktop test kit is not at $kit"
[ -x "$gui" ] || missing "the desktop program is not built: $gui"
[ -x "$cli" ] || missing "pelko-cli is not built: $cli"
for tool in Xvfb dbus-daemon xdotool xclip import openbox tint2; do
  command -v "$tool" >/dev/null || missing "$tool is not installed (scripts/install-deps.sh installs it)"
done
/usr/bin/python3 -c 'import pyatspi' 2>/dev/null ||
  missing "python3-pyatspi is not installed for /usr/bin/python3 (scripts/install-deps.sh installs it)"

shots=$build/e2e-shots
rm -rf "$shots"
mkdir -p "$shots"
tmp=$(mktemp -d /tmp/pelko-e2e.XXXXXX)
trap 'rm -rf "$tmp"' EXIT
# The session's own files stay in the run's folder too.
mkdir -p "$tmp/home"
export HOME="$tmp/home"
export E2E_KIT=$kit E2E_GUI=$gui E2E_CLI=$cli E2E_SHOTS=$shots E2E_TMP=$tmp
# Chinese text on a bare locale; the window manager gives windows a real focus and maximising,
# and the panel a system tray.
export LANG=C.UTF-8 GUIKIT_WM=1 GUIKIT_TRAY=1

"$kit/session.sh" "$here/run.sh" --inside "$@"
status=$?
echo "screenshots: $shots"
exit "$status"
