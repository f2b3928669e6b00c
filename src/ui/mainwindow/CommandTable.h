#pragma once
// Every command of the main window as data: its id (also the name of its picture and of its
// QAction object), the text with its mnemonic, the shortcuts and whether it carries a check mark.
// Menus, tool bars, the tray menu and context menus are built from these rows, so a text or a
// shortcut is written once. Handlers and enabled states are attached by the window that owns the
// actions (MainWindow), because they depend on what it holds.

#include <QString>

#include <span>
#include <string_view>

namespace pelko::ui {

struct CommandSpec {
    std::string_view id;         // "scan-disc": the action's object name and its icon ":/icons/<id>.svg"
    std::string_view text;       // UTF-8, "&X" marks the mnemonic
    std::string_view shortcuts;  // "Ctrl+X;Shift+Del", portable key-sequence texts, empty for none
    std::string_view themeIcon;  // freedesktop icon name used when our own picture is missing
    bool checkable = false;
};

// All rows, in no particular order.
std::span<const CommandSpec> Commands();
// The row of an id; null when there is none.
const CommandSpec* FindCommand(std::string_view id);

// The text a command shows without its mnemonic and trailing dots: its accessible name and the
// tool-tip of its tool button ("扫描指定盘符(D)..." gives "扫描指定盘符(D)"; "自动扫描光盘(&S)..." gives
// "自动扫描光盘(S)").
QString PlainCommandText(std::string_view text);

// The menu layout: a menu is a title followed by its entries; "-" is a separator, "@drives" the
// place of the "操作光驱" sub-menu, "@<name>" another nested sub-menu.
struct MenuSpec {
    std::string_view title;
    std::span<const std::string_view> entries;
};
std::span<const MenuSpec> MainMenus();
std::span<const std::string_view> TrayMenuEntries();
std::span<const std::string_view> MainToolBarEntries();
std::span<const std::string_view> PathBarEntries();
// The context menus of the tree and of the content list.
std::span<const std::string_view> TreeContextEntries();
std::span<const std::string_view> ListContextEntries();

}  // namespace pelko::ui
