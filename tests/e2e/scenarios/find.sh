# A search from the find dialog over three scanned folders: Ctrl+F, the text typed, 确认; the
# hits and the count line in the pane 提示信息, the views on the first hit, F7 on to the next.
# Sourced by tests/e2e/run.sh, which provides the helpers.

scenario_find() {
  local d
  for d in 1 2 3; do
    mkdir -p "$T/finddisc$d/docs"
    printf 'r' >"$T/finddisc$d/docs/report$d.txt"
    printf 'o' >"$T/finddisc$d/other$d.dat"
  done
  printf 'e' >"$T/finddisc2/report-extra.txt"
  for d in 1 2 3; do
    check "pelko-cli scans folder $d into 软件" \
      "$E2E_CLI" --catalog "$T/find" scan-folder "$T/finddisc$d" --category "Pelko/软件" --name "Disc$d" || return 1
  done
  mkdir -p "$XDG_CONFIG_HOME/Tinkmoss"
  printf '[settings]\nLastViewStyle=1\n' >"$XDG_CONFIG_HOME/Tinkmoss/Pelko.conf"

  start --catalog "$T/find"
  check "the main window shows" A --timeout 20 wait-window "$APP" "$TITLE" || return 1
  keys focus "$TITLE"
  check "Ctrl+F opens the find dialog" keys key ctrl+f || return 1
  check "the find dialog 查找... shows" wait_dialog "查找..." || return 1
  check "the root's scope offers the catalog targets" A exists "$APP" "check box" "类别名称" || return 1
  check "the scope tree starts on the root" A exists "$APP" "push button" "清空历史查找内容(D)" || return 1
  sleep 0.3
  keys type "report"
  sleep 0.3
  "$E2E_KIT/shot.sh" "$E2E_SHOTS/find-dialog.png" >/dev/null 2>&1
  check "确认 starts the search" press "确认" || return 1
  check "the dialog closes" eventually dialog_gone "查找..." || return 1

  check "the pane shows every hit and the count" pane_has \
    'Pelko\软件\Disc1\docs\report1.txt' 'Pelko\软件\Disc2\report-extra.txt' \
    'Pelko\软件\Disc2\docs\report2.txt' 'Pelko\软件\Disc3\docs\report3.txt' \
    "提示：  符合条件的查找结果共有 4 项" || return 1
  check "the pane shows the search's condition" pane_has "条件：部分匹配，不分大小写" "内容：report" || return 1
  check "the pane holds no other file" pane_lacks "other1.dat" || return 1
  # The scan objects are searched in their stored order, the newest filed first.
  check "the tree goes to the first hit's folder" eventually path_text_is 'Pelko\软件\Disc3\docs' || return 1
  check "the list shows the first hit" eventually list_has "report3.txt" || return 1
  sleep 0.3
  "$E2E_KIT/shot.sh" "$E2E_SHOTS/find-hits.png" >/dev/null 2>&1

  keys focus "$TITLE"
  check "F7 walks to the next hit" keys key F7 || return 1
  check "the tree goes to the second hit's scan object" eventually path_text_is 'Pelko\软件\Disc2' || return 1
  check "the list shows the second hit" eventually list_has "report-extra.txt" || return 1
  check "F7 walks on" keys key F7 || return 1
  check "the tree goes to the third hit's folder" eventually path_text_is 'Pelko\软件\Disc2\docs' || return 1
  check "the list shows the third hit" eventually list_has "report2.txt" || return 1
  "$E2E_KIT/shot.sh" "$E2E_SHOTS/find-f7.png" >/dev/null 2>&1

  # A second search typed over the first and started with Return: it searches the text as typed,
  # and the history keeps both texts, the newest first.
  keys focus "$TITLE"
  check "Ctrl+F opens the find dialog again" keys key ctrl+f || return 1
  check "the find dialog shows again" wait_dialog "查找..." || return 1
  sleep 0.3
  keys key ctrl+a && keys type "report2" && keys key Return
  check "the dialog closes on Return" eventually dialog_gone "查找..." || return 1
  check "the pane shows the one hit" pane_has 'Pelko\软件\Disc2\docs\report2.txt' "提示：  符合条件的查找结果共有 1 项" || return 1
  check "the first search's other hits were cleared" pane_lacks 'report3.txt' || return 1

  check "the close dialog is answered" close_main || return 1
  check "the program ends after the close" ended "$pid" || return 1
  check "the saved catalog keeps the text in its history" \
    sh -c "'$E2E_CLI' --catalog '$T/find' history | tr '\\n' ' ' | grep -qx 'report2 report '" || return 1
}
