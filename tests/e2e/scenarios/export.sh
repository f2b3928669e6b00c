# Exporting from the program: a scanned disc exported as pages and the index page opened through a
# stand-in browser (xdg-open recording its arguments); exported as text, the text file edited in
# 编辑打印 and found on disk in GBK after leaving; then printed to a PDF file through the print
# dialog, and the PDF's text checked.
# Sourced by tests/e2e/run.sh, which provides the helpers.

# opened_pages: what the stand-in xdg-open was given, a run a line.
opened_pages() { cat "$T/xdg-open.args" 2>/dev/null; }
browser_opened() { opened_pages | grep -qxF -- "$1"; }
# enabled_button NAME: the button NAME is there and enabled.
enabled_button() {
  A --timeout 1 tree "$APP" 2>/dev/null | grep -F "[push button] '$1'" | grep -qv "disabled"
}
# gbk_text_has FILE TEXT: FILE, read as GBK, holds TEXT.
gbk_text_has() { iconv -f GBK -t UTF-8 "$1" | grep -qF -- "$2"; }
# first_export_folder_is NAME: the first row under Pelko in 编辑打印's tree.
first_export_folder_is() { [ "$(A rows "$APP" tree "光盘页面文件：" | sed -n 2p)" = "$1" ]; }
# text_file_after_folders: under 软件 its sub-categories' folders come first, then Disc 12.txt.
text_file_after_folders() {
  local rows
  rows=$(A rows "$APP" tree "光盘页面文件：") || return 1
  [ "$(sed -n 3,7p <<<"$rows" | tr '\n' ' ')" = "开发工具 实用工具 网络工具 系统软件 Disc 12.txt " ] || { echo "$rows"; return 1; }
}
# preset_pdf_is FILE: the print dialog's output file field holds FILE.
preset_pdf_is() { [ "$(A --timeout 1 text "$APP" text "输出文件(F)：")" = "$1" ]; }
# view_has TEXT: the text view of 编辑打印 holds TEXT; view_click: a real click into it.
view_has() {
  local text
  text=$(A --timeout 1 text "$APP" text "光盘文本内容：") || return 1
  grep -qF -- "$1" <<<"$text" || { echo "the view shows:"; head -n 5 <<<"$text"; "$E2E_KIT/shot.sh" "$E2E_SHOTS/view.png"; return 1; }
}
view_click() { xdotool mousemove 0 0 && A mouse "$APP" text "光盘文本内容："; }
# crlf_lines FILE: every line end of FILE is CR LF (and there are some).
crlf_lines() {
  local ends crlf
  ends=$(tr -cd '\n' <"$1" | wc -c)
  crlf=$(grep -c $'\r$' "$1")
  [ "$ends" -gt 2 ] && [ "$ends" = "$crlf" ] || { echo "$ends line ends, $crlf of them CR LF"; return 1; }
}
# pdf_text_has FILE TEXT...: the PDF's text holds every TEXT. (The CJK font draws 文 with the
# glyph of the radical ⽂, and the PDF's text map gives that radical back, so texts avoid 文.)
pdf_text_has() {
  local file=$1 text
  shift
  command -v pdftotext >/dev/null || { echo "pdftotext (poppler-utils) is not installed"; return 1; }
  text=$(pdftotext -layout "$file" - 2>&1) || { echo "$text"; return 1; }
  all_there "$text" "$@" || { echo "the PDF reads:"; echo "$text" | head -n 20; return 1; }
}

scenario_export() {
  local disc=$T/exportdisc out=$T/export/Pelko/软件
  mkdir -p "$disc/docs" "$T/exportbin"
  printf 'r' >"$disc/readme.txt"
  printf 's' >"$disc/setup.exe"
  printf 'a' >"$disc/docs/a.txt"
  check "pelko-cli scans a folder into 软件" \
    "$E2E_CLI" --catalog "$T/export" scan-folder "$disc" --category "Pelko/软件" --name "Disc 12" || return 1
  cat >"$T/exportbin/xdg-open" <<EOF
#!/bin/sh
printf '%s\n' "\$*" >>"$T/xdg-open.args"
EOF
  chmod +x "$T/exportbin/xdg-open"

  PATH="$T/exportbin:$PATH" start --catalog "$T/export"
  check "the main window shows" A --timeout 20 wait-window "$APP" "$TITLE" || return 1

  check "导出光盘内容到网页文件 is chosen" choose "文件(F)" "导出光盘内容到网页文件(2)..." || return 1
  check "the export window shows in HTML mode" wait_dialog "导出到网页文件..." || return 1
  check "the tree offers the catalog" A exists "$APP" "table cell" "软件" || return 1
  check "导出 starts the export" button "导出" || return 1
  check "the page of the disc is written" eventually test -s "$out/Disc 12.htm" || return 1
  check "编辑和打印 is enabled again when the export has ended" eventually enabled_button "编辑和打印" || return 1
  sleep 0.3
  "$E2E_KIT/shot.sh" "$E2E_SHOTS/export-html.png" >/dev/null 2>&1
  check "编辑和打印 opens the index page" button "编辑和打印" || return 1
  check "the browser was asked for index.htm" eventually browser_opened "$T/export/Pelko/index.htm" || return 1
  check "退出 closes the export window" button "退出" || return 1
  check "the export window is gone" eventually dialog_gone "导出到网页文件..." || return 1

  check "导出光盘内容到文本文件 is chosen" choose "文件(F)" "导出光盘内容到文本文件(1)..." || return 1
  check "the export window shows in text mode" wait_dialog "导出为文本" || return 1
  check "导出 starts the export" button "导出" || return 1
  check "the text file of the disc is written" eventually test -s "$out/Disc 12.txt" || return 1
  check "编辑和打印 is enabled again" eventually enabled_button "编辑和打印" || return 1
  check "编辑和打印 opens the edit-and-print window" button "编辑和打印" || return 1
  check "the window 编辑打印 shows" wait_dialog "编辑打印" || return 1
  # Escape, since the export window behind has a button 退出 of its own.
  keys key Escape
  check "Escape leaves 编辑打印" eventually dialog_gone "编辑打印" || return 1
  check "退出 closes the export window" button "退出" || return 1
  check "the export window is gone" eventually dialog_gone "导出为文本" || return 1

  # From the main menu, with no export window behind it (whose tree shows the same names).
  check "导出后文本文件的编辑与打印 is chosen" choose "文件(F)" "导出后文本文件的编辑与打印(3)..." || return 1
  check "the window 编辑打印 shows" wait_dialog "编辑打印" || return 1
  check "the tree lists the category's folder first" first_export_folder_is "软件" || return 1
  # The main window's panes show the same category names, so the folder is opened with the keys:
  # from the root down to 软件, then open it.
  keys key Down Right
  check "the folder lists the text file after its sub-folders" eventually text_file_after_folders || return 1
  check "the text file is chosen" click_cell "Disc 12.txt" || return 1
  check "the view holds the exported listing" eventually view_has 'Pelko\软件\Disc 12' || return 1
  check "a click puts the cursor in the view" view_click || return 1
  keys key ctrl+End
  keys type "已编辑 e2e"
  sleep 0.3
  "$E2E_KIT/shot.sh" "$E2E_SHOTS/edit-print.png" >/dev/null 2>&1
  check "退出 leaves 编辑打印" button "退出" || return 1
  check "the window 编辑打印 is gone" eventually dialog_gone "编辑打印" || return 1
  check "the edit is in the file, in GBK" gbk_text_has "$out/Disc 12.txt" "已编辑 e2e" || return 1
  check "the file keeps its CR LF line ends" crlf_lines "$out/Disc 12.txt" || return 1

  check "导出后文本文件的编辑与打印 is chosen again" choose "文件(F)" "导出后文本文件的编辑与打印(3)..." || return 1
  check "the window 编辑打印 shows" wait_dialog "编辑打印" || return 1
  keys key Down Right
  check "the text file is chosen" eventually click_cell "Disc 12.txt" || return 1
  check "the view shows the edit" eventually view_has "已编辑 e2e" || return 1
  check "打印 opens the print dialog" button "打印(P)" || return 1
  check "the print dialog 打印 shows" wait_dialog "打印" || return 1
  # No printer on this machine: the dialog offers the PDF file, preset beside the text file.
  check "the dialog prints to a PDF file" A --exact exists "$APP" "combo box" "打印到文件(PDF)" || return 1
  check "the PDF file is preset beside the text file" preset_pdf_is "$out/Disc 12.pdf" || return 1
  check "the PDF file is named" A set-text "$APP" text "输出文件(F)：" "$T/printed.pdf" || return 1
  sleep 0.3
  "$E2E_KIT/shot.sh" "$E2E_SHOTS/print-dialog.png" >/dev/null 2>&1
  # Return presses the dialog's default button 打印(P) (编辑打印 behind it has one of that name).
  keys key Return
  check "the print dialog is gone" eventually dialog_gone "打印" || return 1
  check "the PDF is written" eventually test -s "$T/printed.pdf" || return 1
  check "the PDF holds the listing and the edit" \
    pdf_text_has "$T/printed.pdf" 'Pelko\软件\Disc 12' "├readme.txt" "件夹】docs" "已编辑 e2e" || return 1
  check "退出 leaves 编辑打印" button "退出" || return 1
  check "the window 编辑打印 is gone" eventually dialog_gone "编辑打印" || return 1
  check "the close dialog is answered" close_main || return 1
  check "the program ends after the close" ended "$pid" || return 1
}
