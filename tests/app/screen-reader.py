#!/usr/bin/python3
"""What a screen reader hears of the running program, read from the AT-SPI
accessibility bus with pyatspi: the main window, the book list's items, the
first headings of the book index, the tab buttons and the reading pane's
text. Fails on any name of the window that holds mini-HTML markup ('<').
usage: screen-reader.py (the program must be running on the same buses)"""

import sys
import time

import pyatspi


def fail(message):
    print("screen reader: " + message)
    sys.exit(1)


def walk(node, depth=0):
    """Every accessible under node, depth first (popups and hidden panes too)."""
    yield node
    if depth > 40:
        return
    for i in range(node.childCount):
        child = node.getChildAtIndex(i)
        if child is not None:
            yield from walk(child, depth + 1)


def find(root, role, name=None):
    for node in walk(root):
        if node.getRole() == role and (name is None or node.name == name):
            return node
    return None


def main_window():
    desktop = pyatspi.Registry.getDesktop(0)
    for _ in range(100):
        for app in desktop:
            if app is None:
                continue
            for window in app:
                if window is not None and window.name == "Lorvane  0.9.2":
                    return window
        time.sleep(0.2)
    fail("no main window \"Lorvane  0.9.2\" on the accessibility bus")


window = main_window()
print("window:", window.name)

# The book list: a combo box with the 66 books.
combo = find(window, pyatspi.ROLE_COMBO_BOX)
if combo is None:
    fail("no combo box")
items = [n.name for n in walk(combo) if n.getRole() in (pyatspi.ROLE_LIST_ITEM, pyatspi.ROLE_MENU_ITEM)]
print("book list:", ", ".join(items[:5]), "...", len(items), "items")
if len(items) != 66 or items[0] != "Genèse":
    fail("the book list does not read the 66 book names")

# The book index: its module comes forward with the toolbar button.
toolbar = find(window, pyatspi.ROLE_TOOL_BAR, "Modules")
if toolbar is None:
    fail("no tool bar \"Modules\"")
button = next((n for n in walk(toolbar) if n.name == "Index du livre"), None)
if button is None:
    fail("no toolbar button \"Index du livre\"")
button.queryAction().doAction(0)
time.sleep(0.5)
index = find(window, pyatspi.ROLE_LIST, "Index du livre")
if index is None:
    fail("no list \"Index du livre\"")
headings = [index.getChildAtIndex(i).name for i in range(min(index.childCount, 5))]
print("book index:", " | ".join(headings))
if not headings or any(not h for h in headings):
    fail("the book index reads no headings")
if index.getChildAtIndex(0).getRole() != pyatspi.ROLE_LIST_ITEM:
    fail("the book index's items are not list items")

# The two tab buttons.
for name in ("Créer un onglet", "Fermer le chapître"):
    if find(window, pyatspi.ROLE_PUSH_BUTTON, name) is None:
        fail("no button \"%s\"" % name)
print("tab buttons: Créer un onglet, Fermer le chapître")

# The reading pane's text.
pane = None
for node in walk(window):
    if node.name == "Texte biblique" and "Text" in pyatspi.utils.listInterfaces(node):
        pane = node
        break
if pane is None:
    fail("no reading pane \"Texte biblique\"")
text = pane.queryText()
content = text.getText(0, min(text.characterCount, 300))
print("reading pane:", content.replace("\n", " ")[:120], "...")
if text.characterCount == 0 or "<" in content:
    fail("the reading pane reads no text, or markup")

# The search pane and the writing pad name their fields and buttons.
for role, name in ((pyatspi.ROLE_TEXT, "Texte"), (pyatspi.ROLE_PUSH_BUTTON, "Rechercher..."),
                   (pyatspi.ROLE_LIST, "Résultats de la recherche"),
                   (pyatspi.ROLE_COMBO_BOX, None), (pyatspi.ROLE_CHECK_BOX, "Gras"),
                   (pyatspi.ROLE_PUSH_BUTTON, "Enregistrer sous..."), (pyatspi.ROLE_TEXT, "Note")):
    if find(window, role, name) is None:
        fail("no %s named \"%s\"" % (role, name))
labels = {n.name for n in walk(window) if n.getRole() == pyatspi.ROLE_LABEL}
if not {"Texte", "Méthode", "Dans"} <= labels:
    fail("the search pane's labels are missing: %s" % labels)
print("search pane: Texte, Méthode, Dans, Rechercher... ; writing pad: Gras, Note ...")

# No name anywhere holds markup.
bad = [(pyatspi.Accessible.getRoleName(n), n.name) for n in walk(window) if "<" in (n.name or "")]
if bad:
    fail("names with markup: %s" % bad[:10])
print("no name holds markup")
