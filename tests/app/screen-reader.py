#!/usr/bin/python3
"""What a screen reader hears of the running program, read from the AT-SPI
accessibility bus with pyatspi: the main window, the book list's items, the
first headings of the book index, the tab buttons, the reading pane's text
and links (one of them followed), the five combo boxes, the pad's text
attributes. Fails on any name of the window that holds mini-HTML markup
('<'), on any text that holds the document's frame markers, and on a splash
window still shown under the main window.
usage: screen-reader.py (the program must be running on the same buses;
LORVANE_SR_BIBLE=lsg when it shows the Louis Segond text)"""

import os
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
                if window is not None and window.name.endswith("Lorvane  0.9.2"):
                    return app, window
        time.sleep(0.2)
    fail("no main window \"Lorvane  0.9.2\" on the accessibility bus")


def showing(node):
    return node.getState().contains(pyatspi.STATE_SHOWING)


def press(node):
    action = node.queryAction()
    for i in range(action.nActions):
        if action.getName(i).lower() in ("press", "toggle", "click"):
            action.doAction(i)
            return
    action.doAction(0)


def module(name):
    """Brings a module pane forward with its menu item (a check box: the
    entry of the pane shown is checked)."""
    item = next((n for n in walk(window)
                 if n.getRole() in (pyatspi.ROLE_MENU_ITEM, pyatspi.ROLE_CHECK_BOX)
                 and n.name == name and n.parent.getRole() == pyatspi.ROLE_POPUP_MENU), None)
    if item is None:
        fail("no menu item \"%s\"" % name)
    item.queryAction().doAction(0)
    time.sleep(0.4)


app, window = main_window()
print("window:", window.name)
lsg = os.environ.get("LORVANE_SR_BIBLE") == "lsg"

# The splash picture is gone once the main window is there.
time.sleep(0.5)
for top in app:
    if top is not None and top.name == "A propos de ..." and showing(top):
        fail("the splash window \"A propos de ...\" is still shown")
print("splash: hidden under the main window")

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
for name in ("Créer un onglet", "Fermer le chapitre"):
    if find(window, pyatspi.ROLE_PUSH_BUTTON, name) is None:
        fail("no button \"%s\"" % name)
print("tab buttons: Créer un onglet, Fermer le chapitre")

# The reading pane's text.
pane = None
for node in walk(window):
    if node.name.endswith("Texte biblique") and "Text" in pyatspi.utils.listInterfaces(node):
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
for role, name in ((pyatspi.ROLE_TEXT, "Mots à chercher"), (pyatspi.ROLE_PUSH_BUTTON, "Rechercher..."),
                   (pyatspi.ROLE_LIST, "Résultats de la recherche"),
                   (pyatspi.ROLE_COMBO_BOX, None), (pyatspi.ROLE_CHECK_BOX, "Gras"),
                   (pyatspi.ROLE_PUSH_BUTTON, "Enregistrer sous..."), (pyatspi.ROLE_TEXT, "Note")):
    if find(window, role, name) is None:
        fail("no %s named \"%s\"" % (role, name))
labels = {n.name for n in walk(window) if n.getRole() == pyatspi.ROLE_LABEL}
if not {"Mots à chercher", "Méthode", "Dans"} <= labels:
    fail("the search pane's labels are missing: %s" % labels)
print("search pane: Texte, Méthode, Dans, Rechercher... ; writing pad: Gras, Note ...")

# The reading pane is a document whose links are its children.
pane = find(window, pyatspi.ROLE_DOCUMENT_FRAME, "Genèse 1 — Texte biblique")
if pane is None:
    fail("the reading pane is not a document")
links = [pane.getChildAtIndex(i) for i in range(pane.childCount)]
if any(link.getRole() != pyatspi.ROLE_LINK for link in links):
    fail("the reading pane has children that are not links")
print("reading pane links:", len(links), "-", ", ".join(link.name for link in links[:4]), "...")
if lsg and len(links) != 44:
    fail("Genèse 1 shows 44 cross-references, the pane has %d links" % len(links))
if not links or any(not link.name or "¤" in link.name for link in links):
    fail("the links are not named by their visible text")
first = links[0]
box = first.queryComponent().getExtents(pyatspi.DESKTOP_COORDS)
if box.width <= 0 or box.height <= 0:
    fail("the first link has no place on the screen")
print("first link: \"%s\" at %d,%d %dx%d" % (first.name, box.x, box.y, box.width, box.height))
before = {top.name for top in app if top is not None and showing(top)}
press(first)
passage = None
for _ in range(50):
    passage = next((top for top in app if top is not None and showing(top)
                    and top.name not in before), None)
    if passage is not None:
        break
    time.sleep(0.1)
if passage is None:
    fail("following the link \"%s\" opened no window" % first.name)
document = find(passage, pyatspi.ROLE_DOCUMENT_FRAME, "Passage")
if document is None or document.queryText().characterCount == 0:
    fail("the passage window shows no passage")
print("link followed: window \"%s\"" % passage.name)

# The combo boxes are named by what they are for, their value as text.
combos = {}
for node in walk(window):
    if node.getRole() == pyatspi.ROLE_COMBO_BOX:
        text = node.queryText()
        combos[node.name] = text.getText(0, text.characterCount)
print("combo boxes:", combos)
for name in ("Livre", "Police", "Taille", "Méthode", "Dans"):
    if not combos.get(name):
        fail("no combo box \"%s\" with a value" % name)
if combos["Livre"] != "Genèse":
    fail("the book list's value is not \"Genèse\"")

# The pad's text attributes: a raised, bold run after a plain one.
module("Rédiger un texte")
note = find(window, pyatspi.ROLE_TEXT, "Note")
note.queryEditableText().insertText(0, "x2", 2)
note.queryText().setSelection(0, 1, 2)
for name in ("Exposant", "Gras"):
    button = next((n for n in walk(window) if n.name == name and showing(n)), None)
    if button is None:
        fail("no button \"%s\" in the pad" % name)
    press(button)
time.sleep(0.3)
plain = dict(a.split(":", 1) for a in note.queryText().getAttributes(0)[0].split(";") if a)
raised = dict(a.split(":", 1) for a in note.queryText().getAttributes(1)[0].split(";") if a)
print("pad attributes:", plain, "|", raised)
for attributes in (plain, raised):
    if not {"weight", "style", "underline", "fg-color", "size", "vertical-align"} <= attributes.keys():
        fail("the pad's text lacks attributes: %s" % attributes)
if plain["vertical-align"] != "baseline" or plain["weight"] != "400":
    fail("the plain run does not read as plain")
if raised["vertical-align"] != "super" or raised["weight"] != "700":
    fail("the superscript in bold reads as %s" % raised)

# No text anywhere holds the document's frame markers.
module("Glossaire")
for node in walk(window):
    texts = [node.name or ""]
    if "Text" in pyatspi.utils.listInterfaces(node):
        text = node.queryText()
        texts.append(text.getText(0, text.characterCount))
    if any("\ufdd0" in t or "\ufdd1" in t for t in texts):
        fail("%s \"%s\" reads a frame marker" % (pyatspi.Accessible.getRoleName(node), node.name))
print("no text holds U+FDD0 or U+FDD1")

# No name anywhere holds markup.
bad = [(pyatspi.Accessible.getRoleName(n), n.name) for n in walk(window) if "<" in (n.name or "")]
if bad:
    fail("names with markup: %s" % bad[:10])
print("no name holds markup")
