#!/usr/bin/python3
"""Clicks an entry of an open main menu with the mouse, as a person would.

  menu.py APP WINDOW MENU ITEM [--timeout SECONDS]

Waits until the menu MENU ("文件(F)") of the window titled WINDOW is on the screen, then clicks
the centre of its entry ITEM ("退出(X)") with xdotool. Exit status 1 when the menu does not show
or has no such entry. The path to the entry is followed from the window's menu bar, not searched
for in the whole program: a search would also visit what closed dialogs left on the bus, which
can take many seconds to answer.
"""
import argparse
import subprocess
import sys
import time

import pyatspi


def kids(node):
    try:
        count = node.childCount
    except Exception:
        return []
    result = []
    for i in range(count):
        try:
            child = node.getChildAtIndex(i)
        except Exception:
            continue
        if child is not None:
            result.append(child)
    return result


def showing(node):
    try:
        return node.getState().contains(pyatspi.STATE_SHOWING)
    except Exception:
        return False


def entry(app_name, window, menu, item):
    """The entry ITEM when its menu is showing, else None."""
    desktop = pyatspi.Registry.getDesktop(0)
    for app in kids(desktop):
        if app.name != app_name:
            continue
        for frame in kids(app):
            if frame.getRoleName() != "frame" or frame.name != window:
                continue
            for bar in kids(frame):
                if bar.getRoleName() != "menu bar":
                    continue
                for top in kids(bar):
                    if top.name != menu:
                        continue
                    for popup in kids(top):
                        if popup.getRoleName() == "popup menu" and showing(popup):
                            for node in kids(popup):
                                if node.getRoleName() == "menu item" and (node.name or "").startswith(item):
                                    return node
    return None


def main():
    parser = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("app")
    parser.add_argument("window")
    parser.add_argument("menu")
    parser.add_argument("item")
    parser.add_argument("--timeout", type=float, default=2)
    args = parser.parse_args()
    deadline = time.time() + args.timeout
    while True:
        node = entry(args.app, args.window, args.menu, args.item)
        if node is not None:
            box = node.queryComponent().getExtents(pyatspi.DESKTOP_COORDS)
            if box.width > 0 and box.height > 0:
                x, y = box.x + box.width // 2, box.y + box.height // 2
                # No --sync: it waits for a pointer motion, and there is none when the pointer
                # is already there (the same entry chosen twice).
                subprocess.run(["xdotool", "mousemove", str(x), str(y), "sleep", "0.05", "click", "1"], check=True)
                return
        if time.time() > deadline:
            sys.exit(f"menu.py: the menu {args.menu!r} with {args.item!r} is not on the screen")
        time.sleep(0.1)


if __name__ == "__main__":
    main()
