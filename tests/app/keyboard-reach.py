#!/usr/bin/python3
"""The program driven by the keyboard alone, as a reader who uses no mouse:
keys go through xdotool to the window that has the focus, and the focus is
followed on the accessibility bus (the events a screen reader hears). The
reader opens each of the six module panes from the menu, goes through each
pane's controls with Tab and back with Shift+Tab, follows a cross-reference
into the passage window and from there into a new tab, runs a search and
opens a result, writes, formats and saves a note, and closes the program.
usage: keyboard-reach.py (the program must be running on the same buses;
LORVANE_NOTES: the folder to save the note in)"""

import os
import subprocess
import sys
import time

import pyatspi
from gi.repository import GLib

focused = []
current = [""]  # what had the focus last


def on_focus(event):
    if event.detail1 == 1:
        focused.append(event.source)
        current[0] = describe(event.source)


pyatspi.Registry.registerEventListener(on_focus, "object:state-changed:focused")


def fail(message):
    print("keyboard: " + message)
    sys.exit(1)


def pump(seconds):
    end = time.time() + seconds
    context = GLib.MainContext.default()
    while time.time() < end:
        while context.pending():
            context.iteration(False)
        time.sleep(0.01)


def describe(node):
    try:
        return "%s '%s'" % (node.getRoleName(), node.name)
    except Exception:  # the object has gone (a closed window)
        return "(gone)"


def press(*keys, wait=3.0):
    """Sends the keys; returns what has the focus after the last one, as the
    focus events say."""
    focused.clear()
    for key in keys:
        subprocess.run(["xdotool", "key", "--clearmodifiers", key], check=True)
        pump(0.05)
    end = time.time() + wait
    while not focused and time.time() < end:
        pump(0.05)
    pump(0.1)
    return current[0]


def type_text(text):
    subprocess.run(["xdotool", "type", "--delay", "20", text], check=True)
    pump(0.3)


def walk(node, depth=0):
    yield node
    if depth > 40:
        return
    for i in range(node.childCount):
        child = node.getChildAtIndex(i)
        if child is not None:
            yield from walk(child, depth + 1)


def showing(node):
    return node.getState().contains(pyatspi.STATE_SHOWING)


def find(root, role, name=None):
    for node in walk(root):
        if node.getRole() == role and (name is None or node.name == name) and showing(node):
            return node
    return None


def text_of(node):
    text = node.queryText()
    return text.getText(0, text.characterCount)


def main_window():
    desktop = pyatspi.Registry.getDesktop(0)
    for _ in range(100):
        for app in desktop:
            for window in app or []:
                if window is not None and window.name.endswith("Lorvane  0.9.2"):
                    return app, window
        time.sleep(0.2)
    fail("no main window \"Lorvane  0.9.2\"")


app, window = main_window()
pump(1.5)
if not current[0]:
    # The focus was given before this script listened: ask the tree.
    node = next((n for n in walk(window) if n.getState().contains(pyatspi.STATE_FOCUSED)), None)
    current[0] = describe(node) if node else ""
BOOKS = "combo box 'Livre'"

# -- The six module panes, from the Affichage menu ---------------------------
MODULES = ["Table des livres", "Index du livre", "Glossaire", "Rechercher",
           "Thèmes d'étude", "Rédiger un texte"]
LETTERS = ["push button '%s'" % chr(c) for c in range(ord("A"), ord("Z") + 1)]
# What Tab reaches first in each pane, in the order of the screen ("link" for
# the links of a page, in the page's order).
EXPECTED = {
    "Table des livres": ["document frame 'Table des livres'", "link"],
    "Index du livre": ["list 'Index du livre'"],
    "Glossaire": LETTERS + ["push button '%s'" % m for m in
                            ("Longueurs", "Capacités", "Poids", "Monnaies", "Temps")]
                 + ["document frame 'Glossaire'", "link"],
    "Rechercher": ["text 'Mots à chercher'", "combo box 'Méthode'", "combo box 'Dans'",
                   "push button 'Rechercher...'", "list 'Résultats de la recherche'"],
    "Thèmes d'étude": ["push button 'Liste des thèmes'", "push button 'Page précédente'",
                       "push button 'Page suivante'", "document frame 'Thèmes d'étude'", "link"],
}


def collapse(seen):
    """The focus path with each run of links as one "link"."""
    out = []
    for item in seen:
        kind = "link" if item.startswith("link ") else item
        if not (kind == "link" and out and out[-1] == "link"):
            out.append(kind)
    return out


for index, name in enumerate(MODULES):
    first = press("alt+a", *(["Down"] * index), "Return")
    title = next((n for n in walk(window) if n.getRole() == pyatspi.ROLE_LABEL
                  and n.name == name and showing(n)), None)
    if title is None:
        fail("the menu item \"%s\" did not bring its pane forward" % name)
    if name == "Rédiger un texte":
        pad_first = first
        continue
    # Forward to the book list, which follows the module panel, or through
    # the first 80 stops of a page with many links.
    seen = [first]
    while seen[-1] != BOOKS and len(seen) < 80:
        if not seen[-1]:
            fail("Tab in \"%s\" went %s" % (name, seen[-5:]))
        seen.append(press("Tab"))
    path = collapse(seen[:-1] if seen[-1] == BOOKS else seen)
    if path != EXPECTED[name]:
        fail("Tab in \"%s\" goes %s, not %s" % (name, path, EXPECTED[name]))
    # And back over the same stops (a page is a stop of its own only on the
    # way in, before its links).
    stops = [s for s in seen[:-1] if not s.startswith("document frame")]
    back = []
    for _ in range(len(stops) + 5):
        if len(back) == len(stops):
            break
        stop = press("shift+Tab")
        if not stop.startswith("document frame"):
            back.append(stop)
    if back != stops[::-1]:
        fail("Shift+Tab in \"%s\" goes %s" % (name, collapse(back)))
    print("%s: Tab %s, Shift+Tab back (%d stops)" % (name, " > ".join(path), len(seen) - 1))

# The writing pad: the caret in its text; Shift+Tab goes back through its
# 22 buttons and boxes, and Tab comes down to the text the same way.
if pad_first != "text 'Note'":
    fail("the pad does not put the caret in its text (%s)" % pad_first)
back = [press("shift+Tab") for _ in range(22)]
down = [press("Tab") for _ in range(22)]
if down != back[-2::-1] + ["text 'Note'"] or len(set(back)) != 22:
    fail("Tab and Shift+Tab in the pad go %s and %s" % (back, down))
for control in ("combo box 'Police'", "combo box 'Taille'", "check box 'Gras'",
                "check box 'Exposant'"):
    if control not in back:
        fail("Tab in the pad misses %s" % control)
print("Rédiger un texte: Shift+Tab from the text %s, Tab back" % " < ".join(back))

# -- A cross-reference, the passage window, a new tab ------------------------
tabs = find(window, pyatspi.ROLE_PAGE_TAB_LIST)


def page_tabs():
    return [tabs.getChildAtIndex(i) for i in range(tabs.childCount)
            if tabs.getChildAtIndex(i).getRole() == pyatspi.ROLE_PAGE_TAB]


tabs_before = len(page_tabs())
focus = press("alt+a", "Down", "Return")  # Index du livre, then Tab to the text
for _ in range(10):
    focus = press("Tab")
    if focus.startswith("document frame") and focus.endswith("Texte biblique'"):
        break
link = press("Tab")
if not link.startswith("link "):
    fail("Tab in the reading pane reaches %s, not a link" % link)
windows = {w.name for w in app if w is not None and showing(w)}
press("Return")
passage = None
for _ in range(30):
    passage = next((w for w in app if w is not None and showing(w)
                    and w.name not in windows), None)
    if passage:
        break
    pump(0.1)
if passage is None:
    fail("Return on the %s opened no passage window" % link)
print("cross-reference: %s opens the passage window \"%s\"" % (link, passage.name))
pump(0.5)
focus = current[0]
if not focus.startswith("document frame 'Passage'") and not focus.startswith("link "):
    fail("the passage window does not open with the keyboard in its text (%s)" % focus)
for _ in range(30):
    focus = press("Tab")
    if focus == "push button 'Créer un onglet'":
        break
if focus != "push button 'Créer un onglet'":
    fail("Tab in the passage window does not reach \"Créer un onglet\"")
press("space")
pump(0.5)
if len(page_tabs()) != tabs_before + 1:
    fail("\"Créer un onglet\" in the passage window added no tab")
print("passage window: \"Créer un onglet\" opens a tab: %s" % ", ".join(t.name for t in page_tabs()))
# Escape closes the passage window and gives the main window back.
press("Escape")
pump(0.5)
if showing(passage):
    fail("Escape does not close the passage window")

# -- A search and one of its results ------------------------------------------
books = find(window, pyatspi.ROLE_COMBO_BOX, "Livre")
if press("alt+a", "Down", "Down", "Down", "Return") != "text 'Mots à chercher'":
    fail("the search pane does not take the focus to its text")
# A word in plain letters: xdotool types an accented letter through a key it
# remaps for the moment, which a busy machine can read before the remapping.
type_text("Lazare")
press("Return")
results = find(window, pyatspi.ROLE_LIST, "Résultats de la recherche")
for _ in range(100):  # the list fills on a busy machine too
    if results.childCount >= 2:
        break
    pump(0.1)
for _ in range(4):
    focus = press("Tab")
if focus != "list 'Résultats de la recherche'" or results.childCount < 2:
    fail("the search found nothing, or Tab does not reach its results (%s)" % focus)
book_before = text_of(books)
item = press("Down")  # the count line, then the first verse found
if "trouvés" in item:
    item = press("Down")
pump(0.5)
print("search \"Lazare\": %d results; Down on %s opens %s" %
      (results.childCount, item, text_of(books)))
if not item.startswith("list item") or text_of(books) == book_before:
    fail("the first result did not open its place")

# -- A note: written, made bold, saved -----------------------------------------
focus = press("alt+a", *(["Down"] * 5), "Return")
for _ in range(40):
    if focus == "text 'Note'":
        break
    focus = press("Tab")
if focus != "text 'Note'":
    fail("Tab does not reach the pad's text")
type_text("Bonjour")
press("shift+Home", wait=0.3)
# To the bold button, back to the text, and the text saved.
for _ in range(40):
    focus = press("shift+Tab")
    if focus == "check box 'Gras'":
        break
if focus != "check box 'Gras'":
    fail("Shift+Tab from the text does not reach \"Gras\"")
press("space", wait=0.3)
note = os.path.join(os.environ["LORVANE_NOTES"], "note-clavier.rtf")
press("ctrl+s")
pump(1)
type_text(note)
press("Return")
for _ in range(30):
    if os.path.exists(note):
        break
    pump(0.1)
if not os.path.exists(note):
    fail("Ctrl+S did not save the note as %s" % note)
rtf = open(note, "rb").read().decode("cp1252")
if "Bonjour" not in rtf or "\\b" not in rtf:
    fail("the saved note lacks its bold text: %s" % rtf[-200:])
print("note: \"Bonjour\" in bold saved as %s" % os.path.basename(note))

# -- Closing -------------------------------------------------------------------
press("alt+f", "q", wait=0.5)
pump(1)
print("closing: Fichier > Quitter")
