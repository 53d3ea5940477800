#!/usr/bin/env python3
"""Drives the studio's page in headless Chromium against a running
polimreza-studio: builds a 9x9 grid with symmetric blocks, types, takes a
word from what fits, sees a dead slot marked, fills, rejects a word and
fills again, writes a clue, saves, reopens, exports, types a digraph, and
finds no console errors (a Content-Security-Policy violation shows there).

Usage: studio_browser.py URL FOLDER SCREENSHOT [LATIN_URL [CYRILLIC_URL]]
       studio_browser.py --write-lists DIR

URL is the line the server printed; FOLDER the folder it was started in
(where it saves and exports). LATIN_URL, when given, is a second server
started with --alphabet sr-latn, for the digraph keys; CYRILLIC_URL one
started with --alphabet sr-cyrl, for Cyrillic keys, candidates and a fill.
The lists written by --write-lists hold every word of one to three letters
over A, E, N, O, S, T, so that any grid of short slots fills without using
a word twice (36 words of two letters for the 9x9 grid's 28 two-letter
slots), and no word with Z.
"""
import itertools
import json
import os
import sys
import time

from selenium.webdriver.common.action_chains import ActionChains
from selenium.webdriver.common.by import By
from selenium.webdriver.common.keys import Keys

from browser_util import check, finish, number, open_chromium

HOSTILE = '<img src=x onerror="window.pwned=1">'
LETTERS = "AENOST"
SIZE = 9
# Rows and columns 2 and 6 are blocks: every slot has two or three
# squares, and the blocks are symmetric by a half turn.
BLOCK_LINES = (2, 6)


def write_lists(folder):
    os.makedirs(folder, exist_ok=True)
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


def wait(what, condition, timeout=10):
    end = time.time() + timeout
    while time.time() < end:
        try:
            if condition():
                return True
        except Exception:  # the page may be between two states
            pass
        time.sleep(0.05)
    check(False, what + " (timed out)")
    return False


class Page:
    def __init__(self, driver):
        self.d = driver

    def el(self, id_):
        return self.d.find_element(By.ID, id_)

    def js(self, script, *args):
        return self.d.execute_script(script, *args)

    def square(self, row, col):
        return self.el(f"sq-{row}-{col}")

    def td(self, row, col):
        return self.square(row, col).find_element(By.XPATH, "..")

    def classes(self, row, col):
        return self.td(row, col).get_attribute("class").split()

    def letter(self, row, col):
        return self.square(row, col).get_attribute("value")

    def letters(self):
        return self.js("""return Array.from(document.querySelectorAll('#grid tr'))
            .map(tr => Array.from(tr.querySelectorAll('td')).map(td =>
              td.classList.contains('block') ? '#' :
              (td.querySelector('input').value || '*')).join(''));""")

    def keys(self, *keys):
        ActionChains(self.d).send_keys(*keys).perform()

    def ctrl(self, key):
        ActionChains(self.d).key_down(Keys.CONTROL).send_keys(key) \
            .key_up(Keys.CONTROL).perform()

    def status(self):
        return self.el("status").text

    def click(self, id_):
        self.el(id_).click()

    def fits(self):
        return [b.get_attribute("data-word") for b in
                self.d.find_elements(By.CSS_SELECTOR, "#fits button.word")]

    def wait_fill(self):
        wait("fill ends", lambda: not self.el("stop").is_enabled()
             and self.el("fill").is_enabled() and self.status(), 60)


def console_errors(driver):
    """Severe console entries but the 409 replies the test asked for."""
    return [e for e in driver.get_log("browser") if e["level"] == "SEVERE"
            and not (e["source"] == "network" and "status of 409" in e["message"])]


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
         "Rec 1 vodoravno ima 26 slova, a spiskovi najvise 25: dodajte crna polja.")

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
    check(p.el("fits-count").text == "216 reci", "count of what fits")
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
    check(p.el("fits-count").text == "216 reci", "the count stays")
    p.square(3, 3).click()  # back from the button, same direction
    p.keys("s")
    check(p.letter(3, 3) == "S", "a typed letter shows upper-case")
    check(driver.switch_to.active_element.get_attribute("id") == "sq-3-4",
          "the cursor moves along the slot")
    p.keys("1", "#")
    check(p.letter(3, 4) == "", "a key that is no letter types nothing")
    p.keys(Keys.ARROW_LEFT)
    wait("fits after typing", lambda: len(p.fits()) == 36
         and all(w.startswith("S") for w in p.fits()))
    check(p.el("fits-count").text == "36 reci", "the count follows the grid")
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
         p.el("fits-count").text == "0 reci: crvena rec mreze se ne moze popuniti")
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
    check(p.status().startswith("Mreza je popunjena"), "fill reports filled")
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
    check("izbacena" in p.status(), "rejection reported")
    p.click("fill")
    p.wait_fill()
    again = p.letters()
    check(all("*" not in row for row in again) and again[0][0:2] != word
          and again[3][3:6] == "SAT", "filled again without the rejected word")

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
    wait("search results", lambda: p.el("search-count").text == "6 reci")
    check(driver.find_elements(By.CSS_SELECTOR, "#search-results img") == [],
          "a hostile clue in the search list is no markup")

    # Save, save again onto the file, reopen.
    p.el("title").send_keys("Proba")
    p.el("author-name").send_keys("Autor")
    p.click("save")
    name = p.el("name-input")
    name.clear()
    name.send_keys("proba.ipuz" + Keys.ENTER)
    wait("saved", lambda: p.status() == "Sacuvano: proba.ipuz")
    check(os.path.exists(os.path.join(folder, "proba.ipuz")), "proba.ipuz written")
    p.click("save")
    name = p.el("name-input")
    check(name.get_attribute("value") == "Proba.ipuz", "the title suggests a name")
    name.clear()
    name.send_keys("proba.ipuz" + Keys.ENTER)
    wait("exists asked", lambda: p.el("name-exists").is_displayed())
    check(p.el("name-exists").text == "Fajl postoji. Zameniti?", "replace question")
    p.click("name-ok")
    wait("replaced", lambda: p.status() == "Sacuvano: proba.ipuz")
    saved = p.letters()
    machine = [[("machine" in p.classes(r, c)) for c in range(SIZE)] for r in range(SIZE)]
    p.click("new-grid")
    check(p.letters()[0] == "*" * SIZE, "a new empty grid")
    p.click("open")
    wait("file list", lambda: driver.find_elements(By.CSS_SELECTOR, "#files button"))
    [b for b in driver.find_elements(By.CSS_SELECTOR, "#files button")
     if b.text == "proba.ipuz"][0].click()
    wait("opened", lambda: p.status() == "Otvoreno: proba.ipuz")
    check(p.letters() == saved, "reopened grid as saved")
    check([[("machine" in p.classes(r, c)) for c in range(SIZE)] for r in range(SIZE)]
          == machine, "reopened machine letters as saved")
    check(p.el("title").get_attribute("value") == "Proba"
          and p.el("author-name").get_attribute("value") == "Autor", "title and author")
    check(p.js("return document.querySelector('#across li input.clue[data-word=SAT]').value")
          == "Meri vreme", "the author's clue reopened")

    # Export.
    p.click("export")
    name = p.el("name-input")
    name.clear()
    name.send_keys("izvoz" + Keys.ENTER)
    wait("exported", lambda: p.status().startswith("Izvezeno:"))
    for ext in (".html", ".ipuz", ".svg"):
        check(os.path.exists(os.path.join(folder, "izvoz" + ext)), "exported izvoz" + ext)

    driver.save_screenshot(screenshot)
    driver.set_window_size(390, 844)
    time.sleep(0.3)
    width = p.js("return document.documentElement.scrollWidth")
    check(width <= 390, f"fits a phone's width ({width} px)")
    right = p.js("return document.getElementById('grid').getBoundingClientRect().right")
    room = p.js("return document.querySelector('.scroll').getBoundingClientRect().right")
    check(right <= min(room, 390), f"the grid fits a phone ({right} of {room} px)")
    driver.save_screenshot(screenshot.replace(".png", "-phone.png"))
    driver.set_window_size(1280, 800)
    errors = console_errors(driver)
    check(errors == [], "no console errors: " + json.dumps(errors)[:500])


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
    errors = console_errors(driver)
    check(errors == [], "no console errors in Latin: " + json.dumps(errors)[:500])


def run_cyrillic(driver, url):
    p = Page(driver)
    driver.get(url)
    wait("cyrillic page ready", lambda: "ready" in p.js("return document.body.className"))
    for field in ("width", "height"):
        p.el(field).clear()
        p.el(field).send_keys("3")
    p.click("new-grid")
    p.square(0, 1).click()
    p.square(0, 0).click()
    p.keys("\u0459", "t")
    check(p.letter(0, 0) == "\u0409" and p.letter(0, 1) == "",
          "a Cyrillic key types its letter, a Latin one nothing")
    p.keys(Keys.BACKSPACE, Keys.BACKSPACE, "\u0442")
    wait("Cyrillic words fit", lambda: len(p.fits()) == 36
         and all(w.startswith("\u0422") for w in p.fits()))
    driver.find_element(By.CSS_SELECTOR, "#fits button.word").click()
    p.click("fill")
    p.wait_fill()
    check(p.status().startswith("Mreza je popunjena"), "a Cyrillic grid fills")
    check(all(ch in "\u0410\u0415\u041d\u041e\u0421\u0422"
              for row in p.letters() for ch in row), "in Cyrillic letters")
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
        if latin:
            run_latin(driver, latin)
        if cyrillic:
            run_cyrillic(driver, cyrillic)
    finally:
        driver.quit()
    finish("all studio browser checks passed")


if __name__ == "__main__":
    main()
