#!/usr/bin/env python3
"""Drives the studio's page in headless Chromium against a running
polimreza-studio: builds a 9x9 grid with symmetric blocks, types, takes a
word from what fits, sees a dead slot marked, fills, rejects a word and
fills again (the panel following the grid), writes a clue, saves, exports
under the export's own names, reopens both, gets unsaved work back after a
reload, switches to English, types digraphs and Latin keys into a Cyrillic
grid, measures the phone's layout, and finds no console errors (a
Content-Security-Policy violation shows there).

Usage: studio_browser.py URL FOLDER SCREENSHOT [LATIN_URL [CYRILLIC_URL]]
       studio_browser.py --write-lists DIR

URL is the line the server printed; FOLDER the folder it was started in
(where it saves and exports). LATIN_URL, when given, is a second server
started with --alphabet sr-latn, for the digraph keys; CYRILLIC_URL one
started with --alphabet sr-cyrl, for Cyrillic keys, candidates and a fill.
The lists written by --write-lists hold every word of one to three letters
over A, E, N, O, S, T, so that any grid of short slots fills without using
a word twice (36 words of two letters for the 9x9 grid's 28 two-letter
slots), and no word with Z; and ocene.txt, every word scoring 50.
"""
import itertools
import json
import os
import re
import sys
import time

from selenium.webdriver.common.action_chains import ActionChains
from selenium.webdriver.common.by import By
from selenium.webdriver.common.keys import Keys

from browser_util import check, finish, number, open_chromium
from studio_numbering import numbering_agrees
from studio_page import Page, ask_dialog, console_errors, figures, \
    name_dialog, open_file, wait
from studio_skandinavka import skandinavka

HOSTILE = '<img src=x onerror="window.pwned=1">'
LETTERS = "AENOST"
SIZE = 9
# Rows and columns 2 and 6 are blocks: every slot has two or three
# squares, and the blocks are symmetric by a half turn.
BLOCK_LINES = (2, 6)


def write_lists(folder):
    os.makedirs(folder, exist_ok=True)
    scores = []
    for n in range(1, 10):
        words = ["".join(w) for w in itertools.product(LETTERS, repeat=n)] \
            if n <= 3 else []
        lines = []
        for word in words:
            clue = HOSTILE if word == "TON" else "Opis " + word
            lines.append(f"{word};{clue}\r\n")
        with open(os.path.join(folder, f"{n}.txt"), "w", encoding="utf-8",
                  newline="") as out:
            out.write("".join(lines))
        scores.extend(f"{word};50;obicna\r\n" for word in words)
    with open(os.path.join(folder, "ocene.txt"), "w", newline="") as out:
        out.write("".join(scores))


def run(driver, url, folder, screenshot):
    p = Page(driver)
    driver.get(url)
    wait("page ready", lambda: "ready" in p.js("return document.body.className"))
    check(p.el("banner").get_attribute("hidden") is not None,
          "no warning banner on a loopback address")
    check(len(driver.find_elements(By.CSS_SELECTOR, "#grid td")) == 13 * 13,
          "the default grid is 13x13")
    # A slot of 26 is longer than any list's words (the lists go to 25.txt):
    # the page says so instead of asking the server, which refuses such a
    # grid.
    for field, value in (("width", 26), ("height", 3)):
        p.el(field).clear()
        p.el(field).send_keys(str(value))
    p.click("new-grid")
    wait("too long a slot explained", lambda: p.el("fits-count").text ==
         "Reč 1 vodoravno ima 26 slova, a spiskovi najviše 25: dodajte crna polja.")
    check([p.el(i).text for i in ("save", "new-grid", "fill-region", "exclude-current")]
          [:3] == ["Sačuvaj", "Nova mreža", "Popuni označeno"]
          and driver.find_element(By.CSS_SELECTOR, "#fits-panel h2").text == "Šta staje"
          and p.el("exclude-current").get_attribute("textContent") == "Izbaci reč"
          and p.js("return document.documentElement.lang") == "sr-Latn",
          "Serbian labels with their letters")
    check(p.status().startswith("Spremno: ") and " reči u spiskovima" in p.status(),
          "the ready line: " + p.status())

    # A 9x9 grid; blocks typed with '.' on row 2 and column 2 bring their
    # twins on row 6 and column 6 with them.
    for field, value in (("width", SIZE), ("height", SIZE)):
        p.el(field).clear()
        p.el(field).send_keys(str(value))
    p.click("new-grid")
    check(len(driver.find_elements(By.CSS_SELECTOR, "#grid td")) == SIZE * SIZE,
          "Nova mreza makes a 9x9 grid")
    p.square(2, 0).click()
    for _ in range(SIZE):
        p.keys(".", Keys.ARROW_RIGHT)
    for row in (0, 1, 3, 4, 5, 7, 8):
        p.square(row, 2).click()
        p.keys(".")
    expected = ["".join("#" if r in BLOCK_LINES or c in BLOCK_LINES else "*"
                        for c in range(SIZE)) for r in range(SIZE)]
    check(p.letters() == expected, "symmetric blocks: rows and columns 2 and 6")
    numbers, slots = number(len(expected[0]), len(expected), expected)
    slots = tuple([n for n, _ in direction] for direction in slots)
    shown = [[p.td(r, c).find_element(By.CLASS_NAME, "num").text
              for c in range(SIZE)] for r in range(SIZE)]
    check(shown == [[str(n) if n else "" for n in row] for row in numbers],
          "squares numbered in reading order")
    across = driver.find_elements(By.CSS_SELECTOR, "#across li")
    down = driver.find_elements(By.CSS_SELECTOR, "#down li")
    check([li.find_element(By.CLASS_NAME, "n").text for li in across]
          == [str(n) for n in slots[0]]
          and [li.find_element(By.CLASS_NAME, "n").text for li in down]
          == [str(n) for n in slots[1]], "clue lists numbered")

    # Typing narrows what fits.
    p.square(3, 3).click()
    wait("fits of an empty slot", lambda: len(p.fits()) == 50)
    check(p.el("fits-count").text == "216 reči", "count of what fits")
    # The first list is short; "Prikazi jos" asks for more, and goes once
    # every word that fits is shown.
    check(p.el("fits-more").is_displayed(), "more to show")
    first = p.fits()
    p.click("fits-more")
    wait("more of what fits", lambda: len(p.fits()) == 200)
    check(p.fits()[:50] == first, "more of what fits follows the first words")
    check(p.el("fits-more").is_displayed(), "still more to show")
    p.click("fits-more")
    wait("all of what fits", lambda: len(p.fits()) == 216)
    check(not p.el("fits-more").is_displayed(), "nothing more to show")
    check(p.el("fits-count").text == "216 reči", "the count stays")
    p.square(3, 3).click()  # back from the button, same direction
    p.keys("s")
    check(p.letter(3, 3) == "S", "a typed letter shows upper-case")
    check(driver.switch_to.active_element.get_attribute("id") == "sq-3-4",
          "the cursor moves along the slot")
    p.keys("1", "#")
    check(p.letter(3, 4) == "", "a key that is no letter types nothing")
    check(p.status() == "Znak „#“ nije slovo azbuke ove mreže."
          and "error" in p.el("status").get_attribute("class"), "and says so")
    p.keys(Keys.ARROW_LEFT)
    wait("fits after typing", lambda: len(p.fits()) == 36
         and all(w.startswith("S") for w in p.fits()))
    check(p.el("fits-count").text == "36 reči", "the count follows the grid")
    # Placing a word from the list, then undo and redo.
    driver.find_element(By.CSS_SELECTOR, '#fits button.word[data-word="SAT"]').click()
    check([p.letter(3, c) for c in (3, 4, 5)] == ["S", "A", "T"],
          "a clicked word is placed")
    wait("clue of a placed word", lambda: p.js(
        "return document.querySelector('#across li input.clue[data-word=SAT]').value")
        == "Opis SAT")
    p.ctrl("z")
    check([p.letter(3, c) for c in (3, 4, 5)] == ["S", "", ""], "Ctrl+Z undoes")
    p.ctrl("y")
    check([p.letter(3, c) for c in (3, 4, 5)] == ["S", "A", "T"], "Ctrl+Y redoes")
    p.click("undo")
    p.click("redo")
    check(p.letter(3, 5) == "T", "undo and redo buttons")

    # A letter no word holds kills the slots through it.
    p.square(0, 0).click()
    p.keys("z")
    wait("dead slot marked", lambda: "dead" in p.classes(0, 1)
         and "dead" in p.classes(1, 0))
    check("dead" not in p.classes(4, 4), "live slots stay unmarked")
    wait("nothing fits, and the count says why", lambda: p.fits() == [] and
         p.el("fits-count").text == "0 reči: crvena reč mreže se ne može popuniti")
    p.ctrl("z")
    wait("mark gone after undo", lambda: "dead" not in p.classes(0, 1))

    # Space and a second click turn; Tab goes to the next slot.
    p.square(4, 4).click()
    p.keys(" ")
    check("slot" in p.classes(5, 4) and "slot" not in p.classes(4, 5),
          "Space turns down")
    p.square(4, 4).click()
    check("slot" in p.classes(4, 5), "a second click turns back across")
    p.keys(Keys.TAB)
    check(driver.switch_to.active_element.get_attribute("id") == "sq-4-7",
          "Tab goes to the next slot")

    # A region fill: the slots through the selected rectangle only, undone
    # in one step.
    p.square(0, 0).click()
    ActionChains(driver).key_down(Keys.SHIFT).send_keys(Keys.ARROW_RIGHT) \
        .key_up(Keys.SHIFT).perform()
    check("sel" in p.classes(0, 0) and "sel" in p.classes(0, 1)
          and "sel" not in p.classes(1, 0), "Shift+arrow selects a rectangle")
    p.click("fill-region")
    p.wait_fill()
    grid = p.letters()
    check(all(grid[r][c] != "*" for r, c in ((0, 0), (0, 1), (1, 0), (1, 1)))
          and grid[0][3] == "*" and grid[8][8] == "*",
          "a region fill fills the slots through the region only")
    p.ctrl("z")
    check(p.letters()[0][:2] == "**", "a fill is undone in one step")

    # Fill: the author's word stays, the machine's letters are drawn apart.
    p.click("fill")
    p.wait_fill()
    check(p.status().startswith("Mreža je popunjena"), "fill reports filled")
    grid = p.letters()
    check(all("*" not in row for row in grid), "every square filled")
    check(grid[3][3:6] == "SAT", "the author's word kept")
    check("machine" in p.classes(0, 0) and "machine" not in p.classes(3, 3),
          "machine letters drawn apart")
    check(p.el("export").is_enabled(), "Izvezi enabled on a full grid")

    # Reject the machine's word at 1 across; fill again.
    p.square(0, 0).click()
    word = grid[0][0:2]
    wait("slot word shown", lambda: p.el("exclude-current").is_displayed())
    p.click("exclude-current")
    wait("rejected word cleared", lambda: p.letter(0, 0) == "")
    check(p.status().startswith("Reč " + word + " je izbačena"), "rejection reported")
    check(not p.el("exclude-current").is_displayed()
          and p.el("current").text == "1 vodoravno (2)", "the panel follows the rejection")
    p.click("fill")
    p.wait_fill()
    again = p.letters()
    check(all("*" not in row for row in again) and again[0][0:2] != word
          and again[3][3:6] == "SAT", "filled again without the rejected word")
    # The current slot's line and its button name the new word at once.
    check(p.el("current").text == "1 vodoravno (2): " + again[0][0:2]
          and p.el("slot-word").text == again[0][0:2]
          and p.el("exclude-current").get_attribute("data-word") == again[0][0:2],
          "the panel shows the refilled word without a reselect")
    p.ctrl("z")
    check(p.el("current").text == "1 vodoravno (2)"
          and not p.el("exclude-current").is_displayed(), "the panel follows undo")
    p.ctrl("y")
    check(p.el("exclude-current").get_attribute("data-word") == again[0][0:2],
          "the panel follows redo")

    # A clue of the author's own.
    field = driver.find_element(By.CSS_SELECTOR, "#across li input.clue[data-word=SAT]")
    field.clear()
    field.send_keys("Meri vreme" + Keys.TAB)
    wait("clue saved", lambda: "Opis za SAT" in p.status())
    # A hostile clue stays text.
    hostile = driver.find_elements(By.CSS_SELECTOR, 'input.clue[data-word="TON"]')
    check(not p.js("return window.pwned"), "no script from a clue")
    if hostile:
        check(hostile[0].get_attribute("value") == HOSTILE, "a hostile clue shows as typed")
    p.el("pattern").send_keys("T?N" + Keys.ENTER)
    wait("search results", lambda: p.el("search-count").text == "6 reči")
    check(driver.find_elements(By.CSS_SELECTOR, "#search-results img") == [],
          "a hostile clue in the search list is no markup")

    word_scores(p, os.path.join(os.path.dirname(folder), "lists"))
    save_export_reopen(p, folder)
    reload_restores(p)
    english(p)

    open_file(p, "proba.ipuz")
    p.square(3, 4).click()
    wait("what fits SAT", lambda: "SAT" in p.fits() and "stale" not in
         p.el("fits-panel").get_attribute("class"))
    driver.save_screenshot(screenshot)
    phone(p, screenshot.replace(".png", "-phone.png"))
    errors = console_errors(driver)
    check(errors == [], "no console errors: " + json.dumps(errors)[:500])


def scores_shown(p):
    return [i.get_attribute("value") for i in
            p.d.find_elements(By.CSS_SELECTOR, "#fits input.score")]


def set_score(p, word, score):
    field = p.d.find_element(By.CSS_SELECTOR, f'#fits input.score[data-word="{word}"]')
    field.clear()
    field.send_keys(str(score) + Keys.ENTER)


def fits_at(p, row, col, direction):
    """Empties the square and waits for what fits the slot through it."""
    p.square(row, col).click()
    along = (row, col + 1) if direction == "across" else (row + 1, col)
    if "slot" not in p.classes(*along):
        p.keys(" ")
    p.keys(Keys.DELETE)
    wait("what fits, with scores", lambda: p.fits() and "stale" not in
         p.el("fits-panel").get_attribute("class") and len(scores_shown(p)) == len(p.fits()))
    return p.fits()


def word_scores(p, lists):
    """The full grid's figures; what fits in order of score with the
    scores; a score set moves its word and changes its line of ocene.txt
    only; weak words and a weak crossing marked in the grid."""
    wait("figures of the full grid", lambda: figures(p).get("Slabe reči") == "0")
    shown = figures(p)
    check(shown == {"Polja": "81", "Crna polja": "32 (39,51%)",
                    "Reči od dva ili više slova": "42",
                    "PDR": "2,33 (vrlo laka)",
                    "Najniža ocena": "50", "Prosečna ocena": "50,00",
                    "Granica slabih reči": "30", "Slabe reči": "0",
                    "Slaba ukrštanja": "0", "Reči bez ocene": "0",
                    "Vrste reči": "obične reči 42"},
          "the figures of the full grid: " + json.dumps(shown, ensure_ascii=False))
    before = fits_at(p, 3, 4, "across")
    check(len(before) >= 3 and before == sorted(before)
          and scores_shown(p) == ["50"] * len(before), "what fits, each scoring 50")
    wait("the note on an unfinished grid", lambda: p.el("figures-note").text ==
         "Ocene, slabe reči i vrste su od 40 od 42 reči, upisanih do sada.")
    last, first = before[-1], before[0]
    set_score(p, last, 90)
    wait("a higher score moves a word up", lambda: p.fits()[0] == last
         and scores_shown(p)[0] == "90")
    check(p.status() == f"Ocena reči {last} je 90 (sačuvano u ocene.txt).",
          "the score saved: " + p.status())
    set_score(p, first, 10)
    wait("a weak score moves a word down, marked", lambda: p.fits()[-1] == first
         and "weak" in p.d.find_element(
             By.CSS_SELECTOR, f'#fits input.score[data-word="{first}"]')
         .find_element(By.XPATH, "..").get_attribute("class"))
    with open(os.path.join(lists, "ocene.txt"), encoding="utf-8", newline="") as f:
        text = f.read()
    check(text.count("\r\n") == 258 and f"\r\n{last};90;obicna\r\n" in text
          and f"\r\n{first};10;obicna\r\n" in text and text.count(";50;obicna") == 256,
          "ocene.txt: the two words' lines changed, no other")
    p.d.find_element(By.CSS_SELECTOR, f'#fits button.word[data-word="{first}"]').click()
    wait("a weak word marked in the grid", lambda: all(
        "weak" in p.classes(3, c) for c in (3, 4, 5)) and figures(p)["Slabe reči"] == "1")
    down = fits_at(p, 4, 4, "down")[0]
    set_score(p, down, 0)
    wait("weak", lambda: p.fits()[-1] == down)
    p.d.find_element(By.CSS_SELECTOR, f'#fits button.word[data-word="{down}"]').click()
    wait("a weak crossing marked", lambda: p.classes(3, 4).count("crossing") == 1
         and figures(p)["Slaba ukrštanja"] == "1" and figures(p)["Najniža ocena"] == "0")
    check("crossing" not in p.classes(3, 3) and "weak" in p.classes(5, 4),
          "the crossing square only")
    check(p.td(3, 4).get_attribute("title") == "dve slabe reči se ukrštaju"
          and p.td(3, 3).get_attribute("title")
          == "slaba reč (ocena ispod 30 ili bez ocene)"
          and p.el("weak-legend").is_displayed(), "the marks explained")


def grid_state(p):
    """The letters and the machine's marks of the squares."""
    return p.letters(), [[("machine" in p.classes(r, c)) for c in range(SIZE)]
                         for r in range(SIZE)]


def save_export_reopen(p, folder):
    """Save, save again onto the file, export under the export's own names
    (twice), reopen the save and the export."""
    p.el("title").send_keys("Proba")
    p.el("author-name").send_keys("Autor")
    p.click("save")
    suggestion, files = name_dialog(p, "proba")
    check(suggestion == "Proba.ipuz" and files == "Biće zapisano: Proba.ipuz",
          f"the title suggests a name ({suggestion}; {files})")
    wait("saved", lambda: p.status() == "Sačuvano: proba.ipuz")
    p.click("save")
    suggestion, _ = name_dialog(p)
    check(suggestion == "proba.ipuz", "the file saved suggests the name")
    wait("exists asked", lambda: p.el("name-exists").is_displayed())
    check(p.el("name-exists").text == "Fajl „proba.ipuz“ postoji. Da ga zamenim?"
          and p.el("name-ok").text == "Zameni", "the replace question names the file")
    p.click("name-ok")
    wait("replaced", lambda: p.status() == "Sačuvano: proba.ipuz")
    saved = grid_state(p)
    with open(os.path.join(folder, "proba.ipuz"), "rb") as f:
        save_bytes = f.read()

    exported = ["proba-stampa.html", "proba-resenje.ipuz", "proba-stampa.svg"]
    p.click("export")
    suggestion, files = name_dialog(p)
    check(suggestion == "proba" and files == "Biće zapisano: " + ", ".join(exported),
          f"the export suggests names of its own ({suggestion}; {files})")
    wait("exported", lambda: p.status() == "Izvezeno: " + ", ".join(exported))
    for file in exported:
        check(os.path.exists(os.path.join(folder, file)), "exported " + file)
    with open(os.path.join(folder, "proba.ipuz"), "rb") as f:
        check(f.read() == save_bytes, "the export leaves the save alone")
    p.click("export")
    name_dialog(p)
    wait("export exists asked", lambda: p.el("name-exists").is_displayed())
    check(p.el("name-exists").text == "Fajl „proba-stampa.html“ postoji. Da ga zamenim?",
          "the export's replace question names the file: " + p.el("name-exists").text)
    p.click("name-ok")
    wait("exported again", lambda: p.status().startswith("Izvezeno: "))

    p.click("new-grid")  # saved: nothing to ask
    check(p.letters()[0] == "*" * SIZE, "a new empty grid")
    for file in ("proba.ipuz", "proba-resenje.ipuz"):
        open_file(p, file)
        check(grid_state(p) == saved, file + " reopened with its letters and marks")
        check(p.el("title").get_attribute("value") == "Proba"
              and p.el("author-name").get_attribute("value") == "Autor",
              file + " keeps title and author")
        check(p.js("return document.querySelector("
                   "'#across li input.clue[data-word=SAT]').value") == "Meri vreme",
              file + " keeps the author's clue")


def reload_restores(p):
    """Unsaved changes: asked before they go, and back after a reload."""
    open_file(p, "proba.ipuz")
    p.square(4, 4).click()
    p.keys("e")
    p.el("title").send_keys(" 2")
    before = grid_state(p)
    p.click("new-grid")
    check(ask_dialog(p) == "Izmene nisu sačuvane. Odbaciti ih?",
          "Nova mreža asks before dropping unsaved changes")
    p.click("ask-no")
    check(grid_state(p) == before, "and keeps them when told so")
    p.click("open")
    check(ask_dialog(p) == "Izmene nisu sačuvane. Odbaciti ih?", "so does Otvori")
    p.click("ask-no")
    check(not p.el("open-dialog").is_displayed(), "no file list then")
    check(p.js("""const e = new Event('beforeunload', {cancelable: true});
        window.dispatchEvent(e); return e.defaultPrevented;"""),
          "leaving the page asks too")
    p.d.refresh()
    question = ask_dialog(p)
    check(re.fullmatch(r"Vratiti nesačuvani rad od \d\d:\d\d\?", question),
          "the working copy offered back: " + question)
    p.click("ask-yes")
    wait("page ready after the reload",
         lambda: "ready" in p.js("return document.body.className"))
    check(grid_state(p) == before and p.el("title").get_attribute("value") == "Proba 2"
          and p.el("author-name").get_attribute("value") == "Autor",
          "the reload restored the unsaved work")
    check(p.status().startswith("Vraćen je nesačuvani rad od "), "and says so")
    p.click("save")
    suggestion, _ = name_dialog(p)
    check(suggestion == "proba.ipuz", "the restored work keeps its file name")
    wait("exists asked", lambda: p.el("name-exists").is_displayed())
    p.click("name-ok")
    wait("saved", lambda: p.status() == "Sačuvano: proba.ipuz")
    check(p.js("""return Object.keys(localStorage)
        .filter((k) => k.startsWith('polimreza-studio/draft/')).length""") == 0,
          "a saved puzzle leaves no working copy")
    p.d.refresh()
    wait("page ready", lambda: "ready" in p.js("return document.body.className"))
    check(not p.el("ask-dialog").is_displayed(), "nothing offered when all is saved")


def english(p):
    """The language switch, remembered over a reload."""
    p.click("language")
    check(p.el("save").text == "Save" and p.el("new-grid").text == "New grid"
          and p.d.find_element(By.CSS_SELECTOR, "#fits-panel h2").text == "What fits"
          and p.js("return document.documentElement.lang") == "en"
          and p.el("language").text == "Srpski"
          and p.el("quality-title").text == "Quality", "English on request")
    p.d.refresh()
    wait("page ready", lambda: "ready" in p.js("return document.body.className"))
    check(p.el("fill").text == "Fill" and p.status().startswith("Ready: "),
          "English kept over a reload")
    p.click("language")
    check(p.el("fill").text == "Popuni", "and Serbian back")


def phone(p, screenshot):
    """At 390 px: the grid, then the current slot and what fits, then the
    clues, all in the page's width."""
    driver = p.d
    driver.set_window_size(390, 844)
    time.sleep(0.3)
    open_file(p, "proba.ipuz")
    p.square(3, 3).click()
    p.keys(Keys.DELETE)
    wait("what fits on a phone", lambda: p.fits())
    width = p.js("return document.documentElement.scrollWidth")
    check(width <= 390, f"fits a phone's width ({width} px)")
    right = p.js("return document.getElementById('grid').getBoundingClientRect().right")
    room = p.js("return document.querySelector('.scroll').getBoundingClientRect().right")
    check(right <= min(room, 390), f"the grid fits a phone ({right} of {room} px)")
    top = p.js("""const y = (s) => Math.round(document.querySelector(s)
          .getBoundingClientRect()[arguments[0][s] || 'top'] + window.scrollY);
        return {grid: y('#grid'), gridEnd: y('.scroll'), current: y('#current'),
          fits: y('#fits-panel'), word: y('#fits li'), clues: y('.clue-lists'),
          fill: y('#fill'), viewport: window.innerHeight};""", {".scroll": "bottom"})
    print("phone, top offsets in px:", json.dumps(top))
    check(top["grid"] < top["gridEnd"] <= top["current"] < top["fits"] < top["word"]
          < top["clues"], "grid, current slot, what fits, clues in that order")
    check(top["word"] + 30 <= top["viewport"],
          f"the first word that fits is in the first screen ({top['word']} px)")
    driver.execute_script("window.scrollTo(0, 0)")
    driver.save_screenshot(screenshot)
    driver.set_window_size(1280, 800)


def run_latin(driver, url):
    p = Page(driver)
    driver.get(url)
    wait("latin page ready", lambda: "ready" in p.js("return document.body.className"))
    # The cursor starts on the first square: a click there would turn it.
    p.square(0, 1).click()
    p.square(0, 0).click()
    p.keys("l", "j")
    check(p.letter(0, 0) == "LJ" and p.letter(0, 1) == "", "L then J makes LJ")
    check(driver.switch_to.active_element.get_attribute("id") == "sq-0-1",
          "the cursor stays after LJ")
    p.keys("n", Keys.ARROW_LEFT, Keys.ARROW_RIGHT, "j")
    check(p.letter(0, 1) == "N" and p.letter(0, 2) == "J",
          "an arrow between keeps N and J apart")
    p.keys("\u01c6", "č")
    check(p.letter(0, 3) == "DŽ" and p.letter(0, 4) == "Č",
          "a single-character digraph and a letter with a caron")
    p.ctrl("z")
    check(p.letter(0, 4) == "", "undo in Latin")
    # A Cyrillic keyboard types the Latin letters.
    p.square(1, 0).click()
    p.keys("\u0459", "\u0448", "\u0446", "\u0452")
    check([p.letter(1, c) for c in range(4)] == ["LJ", "Š", "C", "Đ"],
          "Cyrillic keys type Latin letters")
    errors = console_errors(driver)
    check(errors == [], "no console errors in Latin: " + json.dumps(errors)[:500])


def run_cyrillic(driver, url, screenshot):
    p = Page(driver)
    driver.get(url)
    wait("cyrillic page ready", lambda: "ready" in p.js("return document.body.className"))
    for field in ("width", "height"):
        p.el(field).clear()
        p.el(field).send_keys("3")
    p.click("new-grid")
    check(p.el("save").text == "Сачувај" and p.el("new-grid").text == "Нова мрежа"
          and p.d.find_element(By.CSS_SELECTOR, "#fits-panel h2").text == "Шта стаје"
          and p.el("pattern").get_attribute("placeholder") == "нпр. А??А"
          and p.js("return document.documentElement.lang") == "sr-Cyrl",
          "a Cyrillic puzzle's page in Cyrillic")
    p.square(0, 1).click()
    p.square(0, 0).click()
    # Latin keys: lj, nj and dž join into Љ, Њ and Џ, dj into Ђ.
    p.keys("l", "j", "n", "j", "d", "\u017e")
    check([p.letter(0, c) for c in range(3)] == ["Љ", "Њ", "Џ"],
          "Latin lj, nj, dž type Љ, Њ, Џ: " + repr([p.letter(0, c) for c in range(3)]))
    p.square(1, 0).click()
    p.keys("d", "j", "c", "\u010d")
    check([p.letter(1, c) for c in range(3)] == ["Ђ", "Ц", "Ч"],
          "Latin dj, c, č type Ђ, Ц, Ч")
    p.square(2, 0).click()
    p.keys("\u0459", "q")
    check(p.letter(2, 0) == "Љ" and p.letter(2, 1) == "",
          "a Cyrillic key types its letter, a key of neither script nothing")
    check(p.status() == "Знак „q“ није слово азбуке ове мреже.", "and says so in Cyrillic")
    p.click("new-grid")
    check(ask_dialog(p) == "Измене нису сачуване. Одбацити их?", "the question in Cyrillic")
    p.click("ask-yes")
    p.square(0, 1).click()
    p.square(0, 0).click()
    p.keys("t")
    wait("Cyrillic words fit", lambda: len(p.fits()) == 36
         and all(w.startswith("\u0422") for w in p.fits()))
    driver.find_element(By.CSS_SELECTOR, "#fits button.word").click()
    p.click("fill")
    p.wait_fill()
    check(p.status().startswith("Мрежа је попуњена"), "a Cyrillic grid fills")
    wait("the figures in Cyrillic", lambda: figures(p).get("Поља") == "9"
         and figures(p).get("Просечна оцена") == "50,00")
    check(all(ch in "\u0410\u0415\u041d\u041e\u0421\u0422"
              for row in p.letters() for ch in row), "in Cyrillic letters")
    p.square(1, 0).click()
    wait("what fits, in Cyrillic", lambda: p.fits() and "stale" not in
         p.el("fits-panel").get_attribute("class"))
    driver.save_screenshot(screenshot)
    errors = console_errors(driver)
    check(errors == [], "no console errors in Cyrillic: " + json.dumps(errors)[:500])


def main():
    if sys.argv[1] == "--write-lists":
        write_lists(sys.argv[2])
        return
    url, folder, screenshot = sys.argv[1:4]
    latin = sys.argv[4] if len(sys.argv) > 4 else None
    cyrillic = sys.argv[5] if len(sys.argv) > 5 else None
    driver = open_chromium(1280, 800)
    try:
        run(driver, url, folder, screenshot)
        numbering_agrees(driver, url, folder)
        skandinavka(driver, url, folder, screenshot.replace(".png", "-skandinavka.png"))
        if latin:
            run_latin(driver, latin)
        if cyrillic:
            run_cyrillic(driver, cyrillic, screenshot.replace(".png", "-cyrillic.png"))
    finally:
        driver.quit()
    finish("all studio browser checks passed")


if __name__ == "__main__":
    main()
