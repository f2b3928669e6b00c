#!/usr/bin/python3
"""Drags one cell of a view onto a cell of another (or the same) view with the mouse.

  drag.py APP FROM_VIEW FROM_CELL TO_VIEW TO_CELL

A view is named by its accessible name ("光盘库" for the tree, "内容" for the list) and a cell by
its exact text. The button is pressed on the first cell's centre, the pointer moves to the second
cell in small steps (so that the drag starts and the target highlights), and the button is let go
there. Exit status 1 when a view or cell is not on the screen.
"""
import os
import subprocess
import sys
import time

sys.path.insert(0, os.environ.get("E2E_KIT", os.path.join(os.path.dirname(__file__), "../../../shared/guikit")))
import atspi  # noqa: E402  (the kit's module: program look-up and tree walking)
import pyatspi  # noqa: E402


def centre_of(app, view_name, cell_name):
    for node, _ in atspi.walk(app):
        if atspi.matches(node, None, view_name, True) and node.getRoleName() in ("tree", "tree table", "table", "list"):
            for cell, _ in atspi.walk(node, limit=3):
                if cell.getRoleName() in ("table cell", "list item", "tree item") and (cell.name or "") == cell_name:
                    box = cell.queryComponent().getExtents(pyatspi.DESKTOP_COORDS)
                    if box.width > 0 and box.height > 0:
                        return box.x + box.width // 2, box.y + box.height // 2
    sys.exit(f"drag.py: no cell {cell_name!r} of {view_name!r} on the screen")


def main():
    if len(sys.argv) != 6:
        sys.exit(__doc__)
    app_name, from_view, from_cell, to_view, to_cell = sys.argv[1:]
    app = atspi.find_app(app_name, time.time() + 10)
    x1, y1 = centre_of(app, from_view, from_cell)
    x2, y2 = centre_of(app, to_view, to_cell)
    run = lambda *args: subprocess.run(["xdotool", *map(str, args)], check=True)  # noqa: E731
    run("mousemove", x1, y1)
    time.sleep(0.2)
    run("mousedown", 1)
    steps = 12
    for i in range(1, steps + 1):
        run("mousemove", x1 + (x2 - x1) * i // steps, y1 + (y2 - y1) * i // steps)
        time.sleep(0.05)
    time.sleep(0.3)
    run("mouseup", 1)


if __name__ == "__main__":
    main()
