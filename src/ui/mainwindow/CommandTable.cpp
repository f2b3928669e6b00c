#include "ui/mainwindow/CommandTable.h"

#include <array>

#include "ui/text/QtText.h"

namespace pelko::ui {
namespace {

using namespace std::string_view_literals;

constexpr CommandSpec kCommands[] = {
    // Scanning and the catalog file
    {"scan-disc", "自动扫描光盘(&S)...", "Ctrl+S", "media-optical"},
    {"scan-drive", "扫描指定盘符(D)...", "Ctrl+D", "drive-harddisk"},
    {"scan-folder", "扫描指定目录(&R)...", "Ctrl+R", "folder"},
    {"scan-hidden", "扫描隐藏目录(&H)", "", "folder-open"},
    {"scan-image", "扫描光盘映像文件(&I)...", "", "media-optical"},
    {"import-disc-file", "导入光盘文件(&O)...", "Ctrl+O", "document-open"},
    {"merge", "合并光盘库(&G)...", "", "document-import"},
    {"mail-default", "发送光盘[缺省邮件系统](&M)...", "Ctrl+M", "mail-send"},
    {"mail-outlook", "发送光盘[Outlook](&K)...", "Ctrl+K", "mail-send"},
    {"export-text", "导出光盘内容到文本文件(&1)...", "", "text-x-generic"},
    {"export-html", "导出光盘内容到网页文件(&2)...", "", "text-html"},
    {"edit-print", "导出后文本文件的编辑与打印(&3)...", "", "document-print"},
    {"browse-export", "用浏览器浏览导出的网页文件(&4)...", "", "web-browser"},
    {"open-export-folder", "用资源管理器查看导出后的文件(&5)...", "", "system-file-manager"},
    {"exit", "退出(&X)", "", "application-exit"},
    // Drive doors
    {"door-open", "弹出光驱(&J)", "Ctrl+J", "media-eject"},
    {"door-close", "关闭光驱(&I)", "Ctrl+I", "media-eject"},
    // Editing and finding
    {"cut", "剪切(&T)", "Ctrl+X;Shift+Del", "edit-cut"},
    {"paste", "粘贴(&P)", "Ctrl+V;Shift+Ins", "edit-paste"},
    {"find", "查找(&F)...", "Ctrl+F", "edit-find"},
    // The context menus' own find entries: each starts the dialog on its pane's selection.
    {"tree-find", "查找(&F)...", "", "edit-find"},
    {"list-find", "查找(&F)...", "", "edit-find"},
    {"new-category", "新建类别(&N)", "", "folder-new"},
    {"delete", "删除(&D)", "", "edit-delete"},
    {"rename", "重命名(&M)", "", "edit-rename"},
    {"edit-memo", "编辑备注(&O)", "", "accessories-text-editor"},
    {"up", "向上一级", "", "go-up"},
    {"open", "打开(&X)...", "", "document-open"},
    {"select-next", "选择下一个", "", "go-next"},
    {"select-previous", "选择上一个", "", "go-previous"},
    {"import-cover", "导入封面图片(&P)", "", "insert-image"},
    {"delete-cover", "删除封面图片(&V)", "", "edit-clear"},
    {"edit-name", "编辑名称(&E)", "", "edit-rename"},
    {"properties", "属性(&A)...", "", "document-properties"},
    // The context menus' own wording of shared commands
    {"tree-export-text", "导出光盘内容到文本文件(&G)", "", "text-x-generic"},
    {"list-export-text", "导出光盘内容(&G) ", "", "text-x-generic"},
    {"context-mail-default", "发送光盘 [缺省邮件系统](&M)...", "", "mail-send"},
    {"context-mail-outlook", "发送光盘 [Outlook](&K)...", "", "mail-send"},
    // The bars and panes
    {"toolbar", "工具栏(&T)", "", "", true},
    {"pathbar", "路径栏(&P)", "", "", true},
    {"statusbar", "状态栏(&S)", "", "", true},
    {"message-pane", "提示信息窗口(&P)", "Alt+2", "dialog-information", true},
    {"view-large", "大图标", "", "view-list-icons", true},
    {"view-report", "详细资料", "", "view-list-details", true},
    {"view-small", "小图标", "", "view-list-compact", true},
    {"view-list", "列表", "", "view-list-text", true},
    {"next-pane", "下一个窗格", "F6", ""},
    {"previous-pane", "上一个窗格", "Shift+F6", ""},
    // The message pane
    {"pane-open", "打开文件(&O)...", "", "document-open"},
    {"pane-save", "保存到文件(&S)...", "", "document-save"},
    {"pane-select-all", "全选信息(&S)", "Ctrl+A", "edit-select-all"},
    {"pane-copy", "拷贝信息(Y)", "", "edit-copy"},
    {"pane-delete", "删除信息(&D)", "", "edit-delete"},
    {"pane-clear", "清空所有信息(&C)", "", "edit-clear-all"},
    {"next-line", "下一行信息(&N)", "F7", "go-down"},
    {"previous-line", "上一行信息(&P)", "F8", "go-up"},
    // Switches
    {"clear-before-info", "查找之前清空提示信息窗口的信息(&1)", "", "edit-clear", true},
    {"eject-after-scan", "在扫描完光盘后弹出光驱(&2)", "", "media-eject", true},
    {"open-new-cd", "扫描完毕立即打开新加入的光盘/目录(&3)", "", "", true},
    {"expand-single", "只扩展左边窗口选中的目录(&4)", "", "", true},
    {"disp-ext", "显示文件扩展名(&5)", "", "", true},
    {"pop-memo", "使用浮动窗口编辑备注(&6)", "", "accessories-text-editor", true},
    {"big-icon-memo", "大图标下显示备注内容(&7)", "", "", true},
    {"autorun", "禁止光盘插进光驱后自动运行光盘上的软件(&8)", "", "", true},
    {"start-at-login", "开机自动运行(&9)", "", "system-run", true},
    {"run-on-tray", "运行在系统托盘上(&A)", "", "", true},
    {"extract-exe-icon", "扫描时自动抽取EXE文件的图标(&B)", "", "application-x-executable", true},
    {"extract-zip", "扫描光盘时扫描压缩文件内的文件信息(&C)", "", "package-x-generic", true},
    {"del-pic-dir", "删除扫描对象的同时删除所有缩略图(&D)", "", "", true},
    {"list-disk-only", "不分类别列表所有扫描对象(&E)", "", "view-list-tree", true},
    {"check-disk-first", "软件启动的时候就检查光驱中是否有光盘需要扫描(&G)", "", "", true},
    // Option dialogs
    {"readme-options", "ReadMe选项(&1)...", "", "text-x-readme"},
    {"popup-options", "对话框弹出方案(&2)...", "", ""},
    {"mp3-options", "MP3文件分析选项(&3)...", "", "audio-x-generic"},
    {"picture-options", "图片扫描选项(&4)...", "", "image-x-generic"},
    {"scan-options", "扫描选项(&5)...", "", ""},
    {"export-options", "导出文本(网页)文件选项(&6)...", "", ""},
    {"icon-options", "图标显示选项的设置(&8)...", "", "preferences-desktop-icons"},
    {"password", "设置密码(&7)...", "", "dialog-password"},
    {"hot-keys", "注册光驱快捷键(&K)", "", "preferences-desktop-keyboard"},
    // Help and links
    {"help", "帮助(&H)...", "F1", "help-contents"},
    {"faq", "常见问题解答(&F)...", "", "help-faq"},
    {"feedback", "问题建议反馈 (&E)...", "", "mail-message-new"},
    {"mail-list", "加入软件升级通知列表(&N)...", "", "mail-message-new"},
    {"web-site", "Pelko－光盘管理工具在Internet上(&I)", "", "internet-web-browser"},
    {"contact", "(&1). 联系作者", "", ""},
    {"new-requirement", "(&2). 增加特殊功能", "", ""},
    {"site-address", "pelko.tinkmoss.example", "", ""},
    {"about", "关于 (&A)...", "", "help-about"},
    // The tray menu's own entries
    {"tray-start-at-login", "开机自动运行(&T)", "", "system-run", true},
    {"version-notes", "最近版本更新记录(&Y)...", "", ""},
    {"tray-mail", "给作者发电子邮件 (&E)", "", "mail-message-new"},
    {"tray-about", "关于本软件(&A)...", "", "help-about"},
    {"tray-close", "关闭(&X)", "", "application-exit"},
};

constexpr std::string_view kFileMenu[] = {
    "scan-disc"sv, "scan-drive"sv, "scan-folder"sv, "scan-hidden"sv, "scan-image"sv, "-"sv, "import-disc-file"sv, "merge"sv,
    "-"sv, "door-open"sv, "door-close"sv, "@drives"sv, "-"sv, "mail-default"sv, "mail-outlook"sv, "-"sv,
    "export-text"sv, "export-html"sv, "edit-print"sv, "browse-export"sv, "open-export-folder"sv, "-"sv,
    "exit"sv};
constexpr std::string_view kEditMenu[] = {"cut"sv, "paste"sv, "-"sv, "find"sv};
constexpr std::string_view kViewMenu[] = {"toolbar"sv,    "pathbar"sv,     "statusbar"sv,   "message-pane"sv,
                                          "-"sv,          "view-large"sv,  "view-report"sv, "view-small"sv,
                                          "view-list"sv,  "-"sv,           "next-pane"sv,   "previous-pane"sv};
constexpr std::string_view kPaneMenu[] = {"pane-open"sv,  "pane-save"sv,  "-"sv,         "pane-select-all"sv,
                                          "pane-copy"sv,  "pane-delete"sv, "pane-clear"sv, "-"sv,
                                          "next-line"sv,  "previous-line"sv};
constexpr std::string_view kSwitchMenu[] = {
    "clear-before-info"sv, "eject-after-scan"sv, "open-new-cd"sv,      "expand-single"sv, "disp-ext"sv,
    "pop-memo"sv,          "big-icon-memo"sv,    "autorun"sv,          "start-at-login"sv, "run-on-tray"sv,
    "extract-exe-icon"sv,  "extract-zip"sv,      "del-pic-dir"sv,      "list-disk-only"sv, "check-disk-first"sv};
constexpr std::string_view kOptionMenu[] = {"readme-options"sv, "popup-options"sv, "mp3-options"sv,
                                            "picture-options"sv, "scan-options"sv, "export-options"sv,
                                            "icon-options"sv, "-"sv, "password"sv, "hot-keys"sv};
constexpr std::string_view kHelpMenu[] = {"help"sv,     "faq"sv,     "-"sv,       "feedback"sv,
                                          "mail-list"sv, "-"sv,       "web-site"sv, "contact"sv,
                                          "new-requirement"sv, "site-address"sv, "-"sv, "about"sv};

constexpr MenuSpec kMenus[] = {
    {"文件(&F)", kFileMenu},     {"编辑(&E)", kEditMenu},        {"查看(&V)", kViewMenu},
    {"提示信息窗口(&T)", kPaneMenu}, {"功能开关(&S)", kSwitchMenu}, {"选项设置(&O)", kOptionMenu},
    {"帮助(&H)", kHelpMenu},
};

constexpr std::string_view kTrayMenu[] = {"scan-disc"sv,          "scan-drive"sv,    "scan-folder"sv, "-"sv,
                                          "door-open"sv,          "door-close"sv,    "@drives"sv,     "-"sv,
                                          "tray-start-at-login"sv, "version-notes"sv, "tray-mail"sv,   "tray-about"sv,
                                          "-"sv,                  "tray-close"sv};

constexpr std::string_view kMainToolBar[] = {
    "scan-disc"sv,   "scan-drive"sv,       "scan-folder"sv, "-"sv,          "door-open"sv,     "door-close"sv,
    "-"sv,           "find"sv,             "-"sv,           "cut"sv,        "paste"sv,         "new-category"sv,
    "delete"sv,      "rename"sv,           "edit-memo"sv,   "-"sv,          "clear-before-info"sv,
    "readme-options"sv, "eject-after-scan"sv, "extract-zip"sv, "start-at-login"sv, "mp3-options"sv,
    "extract-exe-icon"sv, "list-disk-only"sv, "-"sv,        "view-large"sv, "view-report"sv,   "view-small"sv,
    "view-list"sv,   "-"sv,                "message-pane"sv, "about"sv};

// "@size" and "@memo" are the path bar's size box and memo field.
constexpr std::string_view kPathBar[] = {"up"sv,           "open"sv,          "select-next"sv,  "select-previous"sv,
                                         "-"sv,            "next-line"sv,     "previous-line"sv, "-"sv,
                                         "import-cover"sv, "delete-cover"sv,  "picture-options"sv, "@size"sv,
                                         "@memo"sv,        "pop-memo"sv};

constexpr std::string_view kTreeContextMenu[] = {"rename"sv,       "delete"sv,           "tree-find"sv,
                                                 "new-category"sv, "tree-export-text"sv, "properties"sv};
constexpr std::string_view kListContextMenu[] = {
    "new-category"sv, "list-export-text"sv, "delete"sv,      "edit-name"sv,   "edit-memo"sv,    "import-cover"sv,
    "delete-cover"sv, "list-find"sv,        "open"sv,        "-"sv,           "scan-disc"sv,    "scan-drive"sv,
    "scan-folder"sv,  "-"sv,                "door-open"sv,   "door-close"sv,  "@drives"sv,      "-"sv,
    "context-mail-default"sv, "context-mail-outlook"sv, "-"sv, "properties"sv};

}  // namespace

std::span<const CommandSpec> Commands() { return kCommands; }

const CommandSpec* FindCommand(std::string_view id) {
    for (const CommandSpec& command : kCommands) {
        if (command.id == id) return &command;
    }
    return nullptr;
}

QString PlainCommandText(std::string_view text) {
    QString plain = Tr(text);
    plain.remove(QLatin1Char('&'));
    while (plain.endsWith(QLatin1Char('.'))) plain.chop(1);
    return plain.trimmed();
}

std::span<const MenuSpec> MainMenus() { return kMenus; }
std::span<const std::string_view> TrayMenuEntries() { return kTrayMenu; }
std::span<const std::string_view> MainToolBarEntries() { return kMainToolBar; }
std::span<const std::string_view> PathBarEntries() { return kPathBar; }
std::span<const std::string_view> TreeContextEntries() { return kTreeContextMenu; }
std::span<const std::string_view> ListContextEntries() { return kListContextMenu; }

}  // namespace pelko::ui
