# Mailing a disc and merging another catalog from the program: a disc mailed both ways through a
# stand-in xdg-email (the subject, then the plain disc file attached), then a second catalog made
# with pelko-cli merged through 文件 > 合并光盘库 and its category and disc seen in the tree and,
# after the close, in the saved catalog.

# mail_calls: what the stand-in xdg-email was given, one argument a line, runs separated by "--".
mail_calls() { cat "$T/xdg-email.args" 2>/dev/null; }
mail_runs() { grep -c '^--$' "$T/xdg-email.args" 2>/dev/null; }
mail_ran() { [ "$(mail_runs)" = "$1" ]; }
# last_attachment: the file the last run was asked to attach.
last_attachment() { mail_calls | grep -A1 -x -- --attach | tail -n 1; }
# is_plain_disc_file FILE: FILE exists, is a disc file pelko-cli reads, and is no ZIP.
is_plain_disc_file() {
  [ -s "$1" ] || { echo "no file $1"; return 1; }
  case "$1" in *.zip) echo "the ZIP was attached: $1"; return 1 ;; esac
  [ "$(head -c 2 "$1")" != PK ] || { echo "$1 holds a ZIP"; return 1; }
  "$E2E_CLI" dump "$1" | grep -q "a.mp3"
}
tree_rows() { A rows "$APP" tree "光盘库"; }
tree_has() { local rows; rows=$(tree_rows) && grep -qxF -- "$1" <<<"$rows"; }
# merged_files_came FROM TO: every disc file of FROM is in TO.
merged_files_came() {
  local f
  for f in "$1"/*.pkb*; do [ -e "$2/$(basename "$f")" ] || { echo "missing: $f"; return 1; }; done
}
merge_chooser_gone() { ! A --timeout 1 windows "$APP" 2>/dev/null | grep -qF "请选择另一个待合并的光盘库所在目录"; }

scenario_mail() {
  local disc=$T/maildisc movie=$T/moviedisc
  mkdir -p "$disc" "$movie" "$T/mailbin"
  printf 'x' >"$disc/a.mp3"
  printf 'm' >"$movie/film.avi"
  check "pelko-cli scans a disc into 音乐" \
    "$E2E_CLI" --catalog "$T/mail" scan-folder "$disc" --category "Pelko/音乐" --name Disc1 || return 1
  check "pelko-cli makes the other catalog's category 电影合集" \
    "$E2E_CLI" --catalog "$T/other" mkcat "Pelko" "电影合集" || return 1
  check "pelko-cli scans a disc into it" \
    "$E2E_CLI" --catalog "$T/other" scan-folder "$movie" --category "Pelko/电影合集" --name Movie1 || return 1
  # The stand-in mail program records its arguments.
  cat >"$T/mailbin/xdg-email" <<EOF
#!/bin/sh
for a in "\$@"; do printf '%s\n' "\$a"; done >>"$T/xdg-email.args"
echo -- >>"$T/xdg-email.args"
EOF
  chmod +x "$T/mailbin/xdg-email"
  mkdir -p "$XDG_CONFIG_HOME/Tinkmoss"
  printf '[settings]\nLastViewStyle=1\n' >"$XDG_CONFIG_HOME/Tinkmoss/Pelko.conf"

  PATH="$T/mailbin:$PATH" start --catalog "$T/mail"
  check "the main window shows" A --timeout 20 wait-window "$APP" "$TITLE" || return 1
  check "the list shows the root's categories" eventually list_has "音乐" || return 1
  check "a click selects the category 音乐" click_cell "音乐" || return 1
  keys focus "$TITLE"
  check "Ctrl+K with a category selected" keys key ctrl+k || return 1
  check "is refused with its message" A --timeout 10 text "$APP" label "请选择一个光盘后再进行发送" || return 1
  check "the message is acknowledged" press "确定" "OK" || return 1
  check "nothing was mailed" test ! -e "$T/xdg-email.args" || return 1
  check "a double click on 音乐 opens the category" click_cell "音乐" --double || return 1
  check "the list shows the disc" eventually list_has "Disc1" || return 1
  check "a click selects Disc1" click_cell "Disc1" || return 1

  keys focus "$TITLE"
  check "Ctrl+M mails through the default program" keys key ctrl+m || return 1
  check "the hint names the plain disc file" \
    A --timeout 10 text "$APP" label "提示：把文件( $T/mail/Disk/" || return 1
  sleep 0.3
  "$E2E_KIT/shot.sh" "$E2E_SHOTS/mail-hint.png" >/dev/null 2>&1
  check "the hint is acknowledged" press "确定" "OK" || return 1
  check "xdg-email ran once" eventually mail_ran 1 || return 1
  check "it got the subject MailDisk" bash -c "diff <(printf '%s\n' --utf8 --subject MailDisk --) '$T/xdg-email.args'" || return 1

  keys focus "$TITLE"
  check "Ctrl+K mails with the file attached" keys key ctrl+k || return 1
  check "the recipient hint shows" A --timeout 10 text "$APP" label "提示：必须在邮件中填写收件人邮箱和主题!" || return 1
  check "the hint is acknowledged" press "确定" "OK" || return 1
  check "xdg-email ran again" eventually mail_ran 2 || return 1
  check "the subject is MailDisk again" bash -c "tail -n 6 '$T/xdg-email.args' | head -n 3 | grep -qx MailDisk" || return 1
  check "the attachment is the plain disc file in the catalog's Disk folder" \
    is_plain_disc_file "$(last_attachment)" || return 1
  check "the attachment is in the catalog's Disk folder" bash -c "[[ '$(last_attachment)' == '$T/mail/Disk/'*.pkb ]]" || return 1
  keys focus "$TITLE"
  keys key alt+2
  check "the pane shows the mailing" pane_has "发送光盘 Disc1" "提示：把文件(" || return 1
  sleep 0.3
  "$E2E_KIT/shot.sh" "$E2E_SHOTS/mail-pane.png" >/dev/null 2>&1

  check "合并光盘库 is chosen" choose "文件(F)" "合并光盘库(G)..." || return 1
  check "the folder chooser asks for the other catalog" wait_dialog "请选择另一个待合并的光盘库所在目录" || return 1
  sleep 0.3
  "$E2E_KIT/shot.sh" "$E2E_SHOTS/merge-chooser.png" >/dev/null 2>&1
  keys type "$T/other" && keys key Return || return 1
  check "the folder chooser closes" eventually merge_chooser_gone || return 1
  check "the tree shows the merged category" eventually tree_has "电影合集" || return 1
  check "the pane reports the merge" pane_has "合并光盘库完成：加入 1 张光盘、1 个类别" || return 1
  check "a double click on 电影合集 opens it" click_cell "电影合集" --double || return 1
  check "the list shows the merged disc" eventually list_has "Movie1" || return 1
  sleep 0.3
  "$E2E_KIT/shot.sh" "$E2E_SHOTS/merged.png" >/dev/null 2>&1

  check "the close dialog is answered" close_main || return 1
  check "the program ends after the close" ended "$pid" || return 1
  check "the saved catalog holds the merged disc" \
    sh -c "'$E2E_CLI' --catalog '$T/mail' tree | grep -A2 电影合集 | grep -q Movie1" || return 1
  check "the saved catalog still holds Disc1" sh -c "'$E2E_CLI' --catalog '$T/mail' tree | grep -q Disc1" || return 1
  check "the merged disc's file came over" merged_files_came "$T/other/Disk" "$T/mail/Disk" || return 1
}
