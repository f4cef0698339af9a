#!/usr/bin/python3
"""What Orca says of the running program, to a reader who uses the keys
alone: the keys go through xdotool, and each utterance is read from Orca's
debug log (lines "SPEECH OUTPUT: '...'"). The reader goes into the chapter
and hears its first line, reads on with Down, moves through the books with
the "Livre" box and the chapters with the chapter box, opens Nombres from
the Table des livres, runs a search and hears its count; then a whole
session, each key heard once: a result opened, a signet, "Aller à" and its
error, back, another Bible, a new tab, a new text size and a comparison. Every wait polls
the log, for long, so that a loaded machine is only slower.
usage: orca-reads.py (the program must be running, on the buses Orca is to
use; ORCA_HOME: a home of Orca's own; ORCA_LOCPATH: a folder holding the
locale fr_FR.UTF-8; ORCA_LOG: where to copy Orca's debug log)"""

import os
import pty
import re
import subprocess
import sys
import threading
import time

import pyatspi

PATIENCE = 90  # seconds for what should take one
SPEECH = re.compile(r"SPEECH OUTPUT: '(.*)'\s*(?:\[?\{.*\}\]?)?\s*$")

# Orca writes its debug log to a terminal, which it writes line by line (to a
# plain file it writes in blocks, and the last words of a key would wait for
# the next key); a thread copies each line to ORCA_LOG and keeps what it says.
utterances = []
lock = threading.Lock()
master, slave = pty.openpty()
home = os.environ["ORCA_HOME"]
orca = subprocess.Popen(
    ["/usr/bin/orca", "--debug-file", os.ttyname(slave)],  # never --replace
    stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL, stderr=subprocess.STDOUT,
    env=dict(os.environ, HOME=home, XDG_CONFIG_HOME=home + "/.config",
             XDG_DATA_HOME=home + "/.local/share", XDG_CACHE_HOME=home + "/.cache",
             LOCPATH=os.environ["ORCA_LOCPATH"], LANG="fr_FR.UTF-8", LC_ALL="fr_FR.UTF-8",
             LANGUAGE="fr", SPEECHD_ADDRESS="unix_socket:/nonexistent"))


def copy_log():
    with open(os.environ["ORCA_LOG"], "wb") as log:
        pending = b""
        while True:
            try:
                data = os.read(master, 65536)
            except OSError:
                return
            if not data:
                return
            log.write(data)
            log.flush()
            lines = (pending + data).split(b"\n")
            pending = lines.pop()
            for line in lines:
                m = SPEECH.search(line.decode("utf-8", "replace").rstrip("\r"))
                if m:
                    with lock:
                        utterances.append(m.group(1))


threading.Thread(target=copy_log, daemon=True).start()


def fail(message, heard=None):
    print("orca: " + message)
    if heard is not None:
        print("orca: heard %s" % heard)
    orca.terminate()
    sys.exit(1)


def said():
    """Every utterance so far, but the echo of the keys (a key's short name
    and a space: "tabulation ", "maj gauche ")."""
    with lock:
        return [u for u in utterances
                if u.strip() and not (u.endswith(" ") and len(u) <= 24)]


def alive():
    return orca.poll() is None


def hear(since, wanted, what, settle=1.0):
    """Waits until an utterance after `since` satisfies `wanted`; returns the
    utterances heard after `since` once they have settled."""
    end = time.time() + PATIENCE
    while time.time() < end:
        heard = said()[since:]
        if any(wanted(u) for u in heard) or wanted(" ".join(heard)):
            time.sleep(settle)
            return said()[since:]
        if not alive():
            fail("Orca has ended while waiting for %s" % what, heard)
        time.sleep(0.2)
    fail("Orca did not say %s" % what, said()[since:])


def key(k):
    """A key, with its modifiers held down around it one after the other, as
    fingers do: Orca sees each one go by before the next."""
    *modifiers, last = k.split("+")
    for m in modifiers:
        subprocess.run(["xdotool", "keydown", m], check=True)
        time.sleep(0.3)
    subprocess.run(["xdotool", "key", last], check=True)
    for m in reversed(modifiers):
        time.sleep(0.3)
        subprocess.run(["xdotool", "keyup", m], check=True)


def press(k, wanted, what):
    """One key, then what Orca says until `wanted` is heard. A key waits for
    what the one before it did: a key sent while Orca still holds the one
    before would reach the control that had the focus then."""
    since = len(said())
    key(k)
    return hear(since, wanted, what)


def anything(u):
    return True


def contains(*words):
    return lambda u: all(w in u for w in words)


# -- The program's reading pane, as the bus gives it ---------------------------
def walk(node, depth=0):
    yield node
    if depth > 40:
        return
    for i in range(node.childCount):
        child = node.getChildAtIndex(i)
        if child is not None:
            yield from walk(child, depth + 1)


def reading_pane():
    desktop = pyatspi.Registry.getDesktop(0)
    for app in desktop:
        for window in app or []:
            if window is not None and window.name.endswith("Lorvane  0.9.2"):
                for node in walk(window):
                    if node.getRole() == pyatspi.ROLE_DOCUMENT_FRAME \
                            and node.name.endswith("Texte biblique"):
                        return node
    fail("no reading pane on the bus")


def line_at_caret():
    text = reading_pane().queryText()
    line, _, _ = text.getTextAtOffset(text.caretOffset, pyatspi.TEXT_BOUNDARY_LINE_START)
    return line.strip()


def focused_text():
    """The text of the editable control that has the focus, from the bus."""
    desktop = pyatspi.Registry.getDesktop(0)
    for app in desktop:
        for window in app or []:
            if window is None or not window.name.endswith("Lorvane  0.9.2"):
                continue
            for node in walk(window):
                state = node.getState()
                if state.contains(pyatspi.STATE_FOCUSED) \
                        and state.contains(pyatspi.STATE_EDITABLE):
                    text = node.queryText()
                    return text.getText(0, text.characterCount).strip()
    return ""


def type_into_field(words):
    """Types into the focused field. A loaded bus may lose a typed key (Qt
    then logs "keyEventError"): the field is read back from the bus, and
    typed again while it does not hold the words."""
    for _ in range(4):
        subprocess.run(["xdotool", "type", "--delay", "100", words], check=True)
        time.sleep(2)
        if focused_text() == words:
            return
        key("ctrl+a")
        key("BackSpace")
        time.sleep(1)
    fail("the field does not hold \"%s\", but \"%s\"" % (words, focused_text()))


# -- Orca comes up -------------------------------------------------------------
end = time.time() + PATIENCE
while not said() and time.time() < end:
    if not alive():
        fail("Orca did not start")
    time.sleep(0.5)
if not said():
    fail("Orca said nothing in %d seconds" % PATIENCE)
time.sleep(3)
print("Orca is up: %s" % said()[:3])
# The window is named by the place and the Bible read.
hear(0, contains("Genèse 1 — Bible Segond 1910 — Lorvane"), "the place at the start")

# -- Into the chapter: its first line, then Down --------------------------------
press("alt+a", contains("Table des livres"), "the first entry of Affichage")
press("Down", contains("Index du livre"), "the second entry of Affichage")
press("Return", contains("Index du livre", "Liste"), "the book index")
heard = []
for _ in range(12):
    heard = press("Tab", anything, "anything after Tab")
    if any("Texte biblique" in u for u in heard):
        break
if not any("Genèse 1 — Texte biblique" in u for u in heard):
    fail("Tab does not reach the chapter \"Genèse 1 — Texte biblique\"", heard)
first = line_at_caret()
if not first or not any(first[:20] in u for u in heard):
    fail("the page's first line \"%s\" was not said" % first, heard)
print("page: %s" % " | ".join(heard))
heard = press("Down", lambda u: len(u) > 12, "the next line")
second = line_at_caret()
if second == first or not any(second[:20] in u for u in heard):
    fail("Down did not say the next line \"%s\"" % second, heard)
print("Down: %s" % " | ".join(heard))

# -- The "Livre" box and the chapter box -----------------------------------------
# (Shift+Tab in the page would go back through its links: the box is reached
# from the book index, which comes just before it.)
press("alt+a", contains("Table des livres"), "the first entry of Affichage")
press("Down", contains("Index du livre"), "the second entry of Affichage")
press("Return", contains("Index du livre", "Liste"), "the book index")
heard = press("Tab", contains("Livre"), "the \"Livre\" box")
print("Livre: %s" % " | ".join(heard))
heard = press("Down", contains("Exode"), "the book after Genèse")
print("Livre, Down: %s" % " | ".join(heard))
press("Tab", contains("Chapitre"), "the chapter box")
heard = press("Up", lambda u: u.strip(" .") == "2", "chapter 2")
print("Chapitre, Up: %s" % " | ".join(heard))

# -- Nombres from the Table des livres ------------------------------------------
press("alt+a", contains("Table des livres"), "the first entry of Affichage")
press("Return", contains("Table des livres", "document"), "the Table des livres")
for _ in range(40):
    heard = press("Tab", anything, "anything after Tab")
    if any("Nombres" in u for u in heard):
        break
else:
    fail("Tab in the Table des livres does not reach \"Nombres\"", heard)
heard = press("Return", contains("Nombres 1"), "the place opened, Nombres 1")
print("Nombres, Return: %s" % " | ".join(heard))
first = line_at_caret()
heard = press("Down", lambda u: len(u) > 12, "the next line of Nombres 1")
second = line_at_caret()
if second == first or not any(second[:20] in u for u in heard):
    fail("Down in Nombres 1 did not say the next line \"%s\"" % second, heard)
print("Down: %s" % " | ".join(heard))

# -- A search and its count -------------------------------------------------------
press("alt+a", contains("Table des livres"), "the first entry of Affichage")
for entry in ("Index du livre", "Glossaire", "Rechercher"):
    press("Down", contains(entry), "the entry " + entry)
press("Return", contains("Mots à chercher"), "the search field")
type_into_field("lumière")
heard = press("Return", contains("versets trouvés"), "the number of verses found")
print("search: %s" % " | ".join(u for u in heard if "trouvé" in u))

# -- A whole session ------------------------------------------------------------
# A result opened with Enter: the page, at its verse.
for _ in range(8):
    heard = press("Tab", anything, "anything after Tab")
    if any("Résultats de la recherche" in u for u in heard):
        break
else:
    fail("Tab does not reach the results", heard)
heard = press("Down", contains(" : "), "the first result")
result = next(u for u in heard if " : " in u)
words = result.split(" : ", 1)[1][:25]
heard = press("Return", lambda u: "Texte biblique" in u and words in u, "the result's verse")
print("result, Return: %s" % " | ".join(heard))
# Ctrl+D: the caret's verse, said while the Signets pane is hidden.
reference = result.split(" : ", 1)[0]  # "Mt 4:16"
heard = press("ctrl+d", contains("Signet ajouté : "), "the signet added")
added = next(u for u in heard if "Signet ajouté" in u)
if not added.rstrip(".").endswith(reference.split(" ")[-1]):
    fail("the signet is not the caret's verse %s" % reference, heard)
print("Ctrl+D: %s" % added)

# "Aller à" Jean 3:16: the page, at the verse.
press("ctrl+g", contains("Aller à une référence"), "the Aller à field")
type_into_field("jn 3.16")
heard = press("Return", contains("Jean 3", "Car Dieu a tant aimé"), "Jean 3:16")
print("Aller à: %s" % " | ".join(heard))
# An error is said at once.
press("ctrl+g", contains("Aller à une référence"), "the Aller à field")
type_into_field("Jean 30")
heard = press("Return", contains("Jean n'a que 21 chapitres"), "the error")
print("error: %s" % " | ".join(heard))
press("Escape", contains("Texte biblique"), "the page again")
# Back: the place come back to and its verse.
heard = press("alt+Left", contains(words[:15]), "the place come back to, the result's")
print("Alt+Left: %s" % " | ".join(heard))

# Another Bible: its name, and the next Down reads a line.
# (The shipped Greek, when there, comes before the reader's own Bible.)
for _ in range(3):
    heard = press("ctrl+shift+b", contains(" — "), "the next Bible")
    if any("Copie Segond — " in u for u in heard):
        break
else:
    fail("Ctrl+Maj+B does not reach \"Copie Segond\"", heard)
print("Ctrl+Maj+B: %s" % " | ".join(heard))
heard = press("Down", lambda u: len(u.strip()) > 3, "a line after the switch")
print("Down: %s" % " | ".join(heard))

# A new tab is named.
heard = press("ctrl+t", contains("Onglet 1 sur 2"), "the new tab")
print("Ctrl+T: %s" % " | ".join(heard))

# A bigger text: said, and the caret stays where it was in the text.
caret = reading_pane().queryText().caretOffset
heard = press("ctrl+plus", contains("Taille du texte 120 %"), "the text size")
if reading_pane().queryText().caretOffset != caret:
    fail("the caret left its place %d for %d" % (caret, reading_pane().queryText().caretOffset),
         heard)
if any(len(u) > 400 for u in heard):
    fail("the page was read out whole", heard)
print("Ctrl+plus: %s" % " | ".join(heard))

# Bibles side by side: the page is named by both, and each line says its Bible.
press("alt+b", contains("Bible Segond 1910"), "the Bible menu")
for _ in range(3):
    heard = press("Down", anything, "the next Bible of the menu")
    if any("Copie Segond" in u for u in heard):
        break
else:
    fail("the Bible menu does not list \"Copie Segond\"", heard)
press("Down", contains("Comparer avec"), "the comparison's submenu")
press("Right", contains("Bible Segond 1910"), "the Bible to compare with")
heard = press("Return", contains("CPS et LSG"), "the page of both Bibles")
print("Comparer avec: %s" % " | ".join(heard))
# (The heads of the columns are short lines, which the echo filter drops.)
since = len(said())
for _ in range(6):
    key("Down")
    time.sleep(2.5)
    heard = said()[since:]
    if any(u.startswith(("CPS ", "LSG ")) for u in heard):
        break
else:
    fail("no compared line says its Bible", heard)
print("compared line: %s" % " | ".join(heard))

# -- The Greek, word by word ----------------------------------------------------------
# Each word the caret reaches is said with its number and its parsing.
if os.environ.get("LORVANE_GREEK") == "1":
    for _ in range(4):
        heard = press("ctrl+shift+b", contains(" — "), "the next Bible")
        if any("Nouveau Testament grec" in u for u in heard):
            break
    else:
        fail("Ctrl+Maj+B does not reach the Greek New Testament", heard)
    press("ctrl+g", contains("Aller à une référence"), "the Aller à field")
    type_into_field("jn 1.1")
    press("Return", contains("Jean 1"), "Jean 1 in Greek")
    press("ctrl+shift+m", contains("Mot"), "the Mot pane")
    press("ctrl+shift+m", contains("Texte biblique"), "the page again")
    words_heard = []
    for _ in range(8):
        words_heard += press("ctrl+Right", anything, "the next word")
        if any("G3056" in u for u in words_heard):
            break
    logos = [u for u in words_heard if "G3056" in u]
    if not logos or not any("nominatif" in u for u in logos):
        fail("the word λόγος was not said with G3056 and its parsing", words_heard)
    if not any("Définition (en anglais)" in u for u in logos):
        fail("the Strong's entry of λόγος was not said", words_heard)
    print("Ctrl+Right, λόγος: %s" % " | ".join(logos))

print("orca: all heard")
orca.terminate()
try:
    orca.wait(20)
except subprocess.TimeoutExpired:
    orca.kill()
