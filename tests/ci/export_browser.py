#!/usr/bin/env python3
"""Checks an exported crossword against its report: the ipuz file field by
field, and the web page in headless Chromium (loading, counts, typing,
checking, solving, progress, print layout, a phone's screen, labels).

Usage: export_browser.py REPORT IPUZ HTML SCREENSHOT HOSTILE_REPORT HOSTILE_HTML
           BIG_REPORT BIG_HTML ENGLISH_HTML LATIN_HTML CYRILLIC_HTML
           CYRILLIC_EXAMPLE_HTML
       export_browser.py --write-big-report SIZE FILE

The hostile page's clues and title try to run script and load an image:
none of it may happen, and they must show as typed. The big report is a
SIZExSIZE grid with clues as long as a magazine's; its page must fit a
phone's screen and print on two pages. The English page is the example
exported with --lang en. The Latin and Cyrillic pages are the Serbian
puzzle "U LJ E / N # R / A D A" in each script; the Cyrillic example is the
example exported with --script cyrl --author "Ана Анић".
"""
import base64
import html as htmllib
import json
import re
import sys
import tempfile

from selenium.webdriver.common.by import By
from selenium.webdriver.common.keys import Keys

from browser_util import check, finish, number, open_chromium


def read_report(path):
    """The grid rows and both clue lists of a solved report."""
    lines = open(path, encoding="utf-8").read().split("\n")
    match = re.fullmatch(r"MaxVodoravno:(\d+), MaxUspravno:(\d+)", lines[0])
    width, height = int(match[1]), int(match[2])
    assert lines[1:4] == ["Ukrstenica je resena", "Sad cu je prikazati...", ""]
    rows = lines[4:4 + height]
    assert all(len(row) == width for row in rows)
    at = 4 + height
    assert lines[at] == "Vodoravno:"
    across, down = [], []
    at += 1
    while lines[at]:
        across.append(lines[at].split(".", 1)[1])
        at += 1
    assert lines[at + 1] == "Uspravno:"
    at += 2
    while at < len(lines) and lines[at]:
        down.append(lines[at].split(".", 1)[1])
        at += 1
    return width, height, rows, across, down


# A 15x15 pattern with a magazine's share of blocks; smaller sizes take its
# top left corner.
BIG_PATTERN = [
    "....#.....#....",
    "....#.....#....",
    "...............",
    "...#....#......",
    "###...#...#....",
    ".....#...#.....",
    "....#.....#....",
    "...#.......#...",
    "....#.....#....",
    ".....#...#.....",
    "....#...#...###",
    "......#....#...",
    "...............",
    "....#.....#....",
    "....#.....#....",
]

CLUES = [
    "Glavni grad Francuske", "Reka koja protice kroz Beograd",
    "Onaj koji pise knjige", "Planina na jugu Srbije, poznata po skijanju",
    "Muzicki instrument sa dirkama", "Ptica selica", "Deo lica",
    "Zivotinja koja daje mleko, krava", "Suprotno od dana",
    "Sportska igra loptom na travnatom terenu", "Zensko ime",
    "Prostorija u kojoj se kuva", "Drvo cije seme je zir",
    "Kratak tekst o dogadjaju u novinama", "Nota", "Voce zute boje",
    "Grad na Dunavu, sediste Vojvodine", "Onaj koji vodi orkestar",
    "Hemijski simbol za gvozdje", "Posuda za cvece",
    "Veliki sisar iz Afrike sa surlom", "Mesec u godini",
]


def write_big_report(size, path):
    """A solved SIZExSIZE report whose clues are as long as real ones."""
    rows = [row[:size] for row in BIG_PATTERN[:size]]
    letters = "KRASNEVOTILMADUPJBGZ"
    rows = ["".join("#" if c == "#" else letters[(x * 7 + y * 3) % 20]
                    for x, c in enumerate(row)) for y, row in enumerate(rows)]
    _, slots = number(size, size, rows)
    lines = [f"MaxVodoravno:{size}, MaxUspravno:{size}",
             "Ukrstenica je resena", "Sad cu je prikazati...", ""] + rows
    lines.append("Vodoravno:")
    lines += [f"{k}.{CLUES[k % len(CLUES)]}" for k in range(len(slots[0]))]
    lines += ["", "Uspravno:"]
    lines += [f"{k}.{CLUES[(k + 7) % len(CLUES)]}"
              for k in range(len(slots[1]))]
    open(path, "w", encoding="utf-8").write("\n".join(lines) + "\n")


def check_ipuz(path, width, height, rows, across, down, numbers, slots):
    ipuz = json.load(open(path, encoding="utf-8"))
    check(ipuz["version"] == "http://ipuz.org/v2", "ipuz version")
    check(ipuz["kind"] == ["http://ipuz.org/crossword#1"], "ipuz kind")
    check(ipuz["dimensions"] == {"width": width, "height": height},
          "ipuz dimensions")
    check(ipuz["block"] == "#", "ipuz block")
    check(ipuz["title"] == f"Ukr\u0161tenica {width}x{height}", "ipuz title")
    puzzle = [["#" if rows[y][x] == "#" else numbers[y][x]
               for x in range(width)] for y in range(height)]
    check(ipuz["puzzle"] == puzzle, "ipuz puzzle numbers and blocks")
    check(ipuz["solution"] == [list(row) for row in rows], "ipuz solution")
    check(ipuz["clues"]["Across"] ==
          [[n, htmllib.escape(clue, quote=False)]
           for (n, _), clue in zip(slots[0], across)]
          and len(slots[0]) == len(across), "ipuz across clues")
    check(ipuz["clues"]["Down"] ==
          [[n, htmllib.escape(clue, quote=False)]
           for (n, _), clue in zip(slots[1], down)]
          and len(slots[1]) == len(down), "ipuz down clues")


def main():
    if sys.argv[1] == "--write-big-report":
        write_big_report(int(sys.argv[2]), sys.argv[3])
        return
    (report, ipuz_path, html, screenshot, hostile, hostile_html, big,
     big_html, english_html, latin_html, cyrillic_html,
     cyrillic_example_html) = sys.argv[1:13]
    width, height, rows, across, down = read_report(report)
    numbers, slots = number(width, height, rows)
    check_ipuz(ipuz_path, width, height, rows, across, down, numbers, slots)
    solution = "".join(rows)

    driver = open_chromium(1000, 760, ("browser", "performance"))
    try:
        run_page(driver, "file://" + html, width, height, rows, solution,
                 numbers, slots, screenshot)
        run_hostile(driver, "file://" + hostile_html, read_report(hostile))
        run_alphabet(driver, html)
        run_big(driver, "file://" + big_html, read_report(big),
                screenshot.replace(".png", "-big"))
        run_english(driver, "file://" + english_html)
        run_serbian(driver, "file://" + latin_html, "file://" + cyrillic_html)
        run_cyrillic_example(driver, "file://" + cyrillic_example_html,
                             screenshot.replace(".png", "-cyrillic.png"))
    finally:
        driver.quit()
    finish("all browser checks passed")


def run_page(driver, url, width, height, rows, solution, numbers, slots,
             screenshot):
    driver.get_log("performance")  # what the browser loaded for itself
    driver.get(url)
    js = driver.execute_script

    # Loading: no console message of any level, no request beyond the page.
    console = driver.get_log("browser")
    check(not console, f"no console messages {console}")
    sent = [m["params"] for m in (json.loads(e["message"])["message"]
                                  for e in driver.get_log("performance"))
            if m["method"] == "Network.requestWillBeSent"]
    mine = [p["request"]["url"] for p in sent if p.get("documentURL") == url]
    check(mine == [url], f"the page requests nothing but itself {mine}")
    remote = [p["request"]["url"] for p in sent
              if not p["request"]["url"].startswith(("chrome:", "data:",
                                                     "file:"))]
    check(not remote, f"no network request at all {remote}")
    check(js("return performance.getEntriesByType('resource').length") == 0,
          "no resource loaded by the page")

    # Counts of open and numbered squares.
    open_count = sum(c != "#" for c in solution)
    numbered = sum(1 for row in numbers for n in row if n)
    check(js("return document.querySelectorAll('#grid td.sq input').length")
          == open_count, f"{open_count} open squares")
    check(js("return document.querySelectorAll('#grid .num').length")
          == numbered, f"{numbered} numbered squares")
    check(js("return document.querySelectorAll('#across li').length")
          == len(slots[0]) and
          js("return document.querySelectorAll('#down li').length")
          == len(slots[1]), "clue list lengths")
    check(js("return getComputedStyle(document.getElementById('controls')).display")
          != "none", "controls shown on screen")
    check(js("return getComputedStyle(document.getElementById('solution')).display")
          == "none", "solution hidden on screen")

    def cell(i):
        return driver.find_element(By.ID, f"q{i}")

    def value(i):
        return cell(i).get_attribute("value")

    def active():
        return driver.switch_to.active_element.get_attribute("id")

    # Each clue ends in its word's length.
    lengths = [li.text.rsplit(" ", 1)[-1] for li in driver.find_elements(
        By.CSS_SELECTOR, "#across li, #down li")]
    check(lengths == [f"({len(c)})" for _, c in slots[0] + slots[1]],
          "every clue shows its length")

    # Typing a word: click the first across slot, type part of it; what is
    # not a letter of the puzzle is refused.
    number0, cells0 = slots[0][0]
    word0 = "".join(solution[i] for i in cells0)
    cell(cells0[0]).click()
    driver.switch_to.active_element.send_keys("1?.\u017d")
    check(value(cells0[0]) == "" and active() == f"q{cells0[0]}",
          "a digit, '?', '.' and a letter outside the puzzle are refused")
    check("active" in driver.find_element(By.ID, "across-0").get_attribute("class"),
          "clicking a square highlights its across clue")
    check(all("slot" in cell(i).find_element(By.XPATH, "..").get_attribute("class")
              for i in cells0), "the current slot is highlighted")
    driver.switch_to.active_element.send_keys(word0[:2].lower())
    check(active() == f"q{cells0[2]}", "typing moves along the slot")
    driver.switch_to.active_element.send_keys(word0[2:])
    check([value(i) for i in cells0] == list(word0), f"typed {word0} into 1 across")

    # Backspace clears the last letter and stays in the slot.
    driver.switch_to.active_element.send_keys(Keys.BACKSPACE)
    check(value(cells0[-1]) == "", "Backspace clears a square")
    driver.switch_to.active_element.send_keys(word0[-1])

    # Tab moves to the next slot, Shift-Tab back, Space turns the direction.
    cell(cells0[0]).click()
    driver.switch_to.active_element.send_keys(Keys.TAB)
    check("active" in driver.find_element(By.ID, "across-1").get_attribute("class"),
          "Tab goes to the next slot")
    driver.switch_to.active_element.send_keys(Keys.SHIFT, Keys.TAB)
    check("active" in driver.find_element(By.ID, "across-0").get_attribute("class"),
          "Shift-Tab goes back")
    driver.switch_to.active_element.send_keys(" ")
    check("active" in driver.find_element(By.ID, "down-0").get_attribute("class"),
          "Space turns the direction")
    cell(cells0[0]).click()
    check("active" in driver.find_element(By.ID, "across-0").get_attribute("class"),
          "a second click turns the direction back")
    driver.switch_to.active_element.send_keys(Keys.ARROW_DOWN)
    below = slots[1][0][1][1] if len(slots[1][0][1]) > 1 else None
    if below is not None:
        check(active() == f"q{below}", "an arrow moves to the square below")

    # Clicking a clue selects the first empty square of its slot.
    driver.find_element(By.ID, "down-1").click()
    target = next(i for i in slots[1][1][1] if value(i) == "")
    check(active() == f"q{target}", "clicking a clue selects its slot")

    # Check marks a wrong letter.
    wrong = "Q" if solution[target] != "Q" else "X"
    driver.switch_to.active_element.send_keys(wrong)
    driver.find_element(By.CSS_SELECTOR, "button[data-action=check-grid]").click()
    td = cell(target).find_element(By.XPATH, "..")
    check("wrong" in td.get_attribute("class"), "check marks the wrong letter")
    check(driver.find_element(By.ID, "status").text == "Pogre\u0161nih slova: 1.",
          "check reports one wrong letter")
    js("window.scrollTo(0, 0)")
    driver.save_screenshot(screenshot)

    # Progress survives a reload.
    driver.refresh()
    check(value(cells0[0]) == word0[0] and value(target) == wrong,
          "progress kept in local storage across a reload")

    # Complete the grid by typing every across slot.
    for _, cells in slots[0]:
        cell(cells[0]).click()
        if "active" not in driver.find_element(
                By.ID, "across-" + str(slots[0].index((_, cells)))).get_attribute("class"):
            driver.switch_to.active_element.send_keys(" ")
        driver.switch_to.active_element.send_keys(
            "".join(solution[i] for i in cells))
    check(all(value(i) == solution[i] for i in range(len(solution))
              if solution[i] != "#"), "every square typed")
    status = driver.find_element(By.ID, "status").text
    check(status == "\u010cestitamo! Ukr\u0161tenica je re\u0161ena.",
          f"solved message shown ({status!r})")

    # A phone's screen: nothing wider than the screen, squares big enough
    # to tap.
    phone(driver, screenshot.replace(".png", "-phone.png"))
    check(cell(cells0[0]).size["width"] >= 30, "squares big enough to tap")
    driver.execute_cdp_cmd("Emulation.clearDeviceMetricsOverride", {})

    # Print: controls hidden, the solution page shown, no letter visible.
    driver.execute_cdp_cmd("Emulation.setEmulatedMedia", {"media": "print"})
    style = "return getComputedStyle(document.querySelector(arguments[0]))[arguments[1]]"
    check(js(style, "#controls", "display") == "none", "print hides the controls")
    check(js(style, "#status", "display") == "none", "print hides the status")
    check(js(style, "#solution", "display") == "block", "print shows the solution")
    check(js(style, "#solution", "break-before") == "page",
          "the solution starts a new page")
    check(js(style, "#grid input", "color") == "rgba(0, 0, 0, 0)",
          "the printed puzzle is blank")
    check(js("return document.querySelectorAll('#solution .letter').length")
          == sum(c != "#" for c in solution), "the solution holds every letter")
    driver.execute_cdp_cmd("Emulation.setEmulatedMedia", {"media": ""})
    print_pages(driver, screenshot.replace(".png", ""))

    # Without the script the page still shows the puzzle and prints both.
    driver.execute_cdp_cmd("Emulation.setScriptExecutionDisabled",
                           {"value": True})
    driver.refresh()
    check(js is not None and len(driver.find_elements(By.CSS_SELECTOR, "#grid td.sq"))
          == sum(c != "#" for c in solution), "the grid is there without script")
    for hidden in ("controls", "help", "current"):
        check(js(style, "#" + hidden, "display") == "none",
              f"#{hidden} stays hidden without script")


def phone(driver, screenshot):
    """Shows the page as a 390-pixel-wide phone does and checks that
    neither the page nor the grid scrolls sideways."""
    driver.execute_cdp_cmd("Emulation.setDeviceMetricsOverride", {
        "width": 390, "height": 844, "deviceScaleFactor": 2, "mobile": True})
    js = driver.execute_script
    page = js("return [document.documentElement.scrollWidth, window.innerWidth]")
    check(page[0] <= page[1], f"a phone's page needs no sideways scrolling {page}")
    grid = js("var s = document.querySelector('.scroll');"
              "return [s.scrollWidth, s.clientWidth]")
    check(grid[0] <= grid[1], f"the grid fits a phone's screen {grid}")
    js("window.scrollTo(0, 0)")
    driver.save_screenshot(screenshot)


def print_pages(driver, pdf_base):
    """Prints the page on Letter and A4: two pages each, the puzzle with its
    clues and then the solution."""
    for paper, width, height in (("letter", 8.5, 11), ("a4", 8.27, 11.69)):
        pdf = base64.b64decode(driver.execute_cdp_cmd("Page.printToPDF", {
            "printBackground": True, "paperWidth": width,
            "paperHeight": height})["data"])
        open(f"{pdf_base}-{paper}.pdf", "wb").write(pdf)
        pages = len(re.findall(rb"/Type\s*/Page\b", pdf))
        check(pages == 2, f"the printout on {paper} has two pages ({pages})")


def run_alphabet(driver, html):
    """A puzzle whose letters include Z with caron: typed in lower case, it
    shows in upper case; the other squares take A to Z as before."""
    page = open(html, encoding="utf-8").read()
    marker = '"typing":{"keys":{"A":"A"'
    check(page.count(marker) == 1, "the page lists the puzzle's letters")
    path = tempfile.mkdtemp() + "/alphabet.html"
    open(path, "w", encoding="utf-8").write(
        page.replace(marker, '"typing":{"keys":{"\u017d":"\u017d","A":"A"'))
    driver.get("file://" + path)
    first = driver.execute_script("return document.querySelector('#grid input').id")
    driver.find_element(By.ID, first).click()
    driver.switch_to.active_element.send_keys("\u017e")
    check(driver.find_element(By.ID, first).get_attribute("value") == "\u017d",
          "a letter of the puzzle outside A-Z is typed, in upper case")
    driver.execute_script("localStorage.clear()")


def run_serbian(driver, latin_url, cyrillic_url):
    """The Serbian puzzle "U LJ E / N # R / A D A": in Latin, L then J joins
    into LJ in one square and the cursor stays after it; an arrow key between
    them keeps two letters; Cyrillic keys type the same letters; Q is refused;
    in Cyrillic, Lj typed on a Latin keyboard and Cyrillic letters fill it."""
    def value(i):
        return driver.find_element(By.ID, "q%d" % i).get_attribute("value")

    def active():
        return driver.switch_to.active_element.get_attribute("id")

    def keys(*typed):
        driver.switch_to.active_element.send_keys(*typed)

    def solved():
        return driver.execute_script(
            "return document.getElementById('puzzle').classList.contains('solved')")

    def across(cell, clue):
        """Selects square `cell` in the across slot of clue `clue`."""
        driver.find_element(By.ID, "q%d" % cell).click()
        if "active" not in driver.find_element(
                By.ID, "across-%d" % clue).get_attribute("class"):
            keys(" ")

    driver.get(latin_url)
    driver.find_element(By.ID, "q0").click()
    keys("u", "l", "j")
    check(value(0) == "U" and value(1) == "LJ",
          f"L then J is LJ in one square ({value(0)!r}, {value(1)!r})")
    check(active() == "q2", f"the cursor stays after LJ ({active()})")
    keys("q")
    check(value(2) == "", f"Q is no Serbian letter ({value(2)!r})")
    keys("e")
    driver.find_element(By.ID, "q1").click()
    keys("l", Keys.ARROW_RIGHT, "j")
    check(value(1) == "L" and value(2) == "J",
          f"an arrow between L and J keeps two letters ({value(1)!r}, {value(2)!r})")
    driver.find_element(By.ID, "q1").click()
    keys("\u0459")
    check(value(1) == "LJ", f"Cyrillic lj types LJ ({value(1)!r})")
    driver.find_element(By.ID, "q2").click()
    keys("\u0435")
    check(value(2) == "E", f"Cyrillic e types E ({value(2)!r})")
    for cell, letter in ((3, "n"), (5, "r"), (6, "a"), (7, "d"), (8, "a")):
        driver.find_element(By.ID, "q%d" % cell).click()
        keys(letter)
    check(solved(), "the Latin puzzle is solved letter for letter")
    across(7, 3)
    keys("d", "\u017e")
    check(value(7) == "D\u017d", f"D then Z-caron is DZ-caron ({value(7)!r})")
    across(6, 3)
    keys("\u040f", "\u0452")
    check(value(6) == "D\u017d" and value(7) == "\u0110",
          f"Cyrillic dzh and dj type the Latin letters ({value(6)!r}, {value(7)!r})")
    driver.execute_script("localStorage.clear()")

    driver.get(cyrillic_url)
    driver.find_element(By.ID, "q0").click()
    keys("\u0443", "L", "J")
    check(value(0) == "\u0423" and value(1) == "\u0409",
          f"Cyrillic: u, then L and J joined ({value(0)!r}, {value(1)!r})")
    keys("\u0435")
    for cell, letter in ((3, "\u043d"), (5, "r"), (6, "\u0430"),
                         (7, "\u0434"), (8, "a")):
        driver.find_element(By.ID, "q%d" % cell).click()
        keys(letter)
    check(value(5) == "\u0420", f"Latin R types Cyrillic R ({value(5)!r})")
    check(solved(), "the Cyrillic puzzle is solved")
    driver.find_element(By.ID, "q1").click()
    keys("\u0409")
    check(value(1) == "\u0409", "Cyrillic LJ is typed directly")

    # A Latin keyboard in the Cyrillic puzzle: "ljubav" as typed, the pairs
    # joined, each Latin letter its Cyrillic one.
    across(0, 0)
    keys("u", "l", "j", "e")
    check([value(i) for i in (0, 1, 2)] == ["\u0423", "\u0409", "\u0415"],
          f"Latin u, lj, e type \u0423\u0409\u0415 ({value(0)!r}, {value(1)!r}, {value(2)!r})")
    across(0, 0)
    keys("n", "j")
    check(value(0) == "\u040a" and active() == "q1",
          f"Latin nj is \u040a, the cursor after it ({value(0)!r}, {active()})")
    across(6, 3)
    keys("d", "j", "d", "\u017e")
    check(value(6) == "\u0402" and value(7) == "\u040f",
          f"Latin dj and d-z-caron are \u0402 and \u040f ({value(6)!r}, {value(7)!r})")
    across(6, 3)
    keys("d", "\u0458")
    check(value(6) == "\u0414" and value(7) == "\u0408",
          f"Cyrillic je after D stays two letters ({value(6)!r}, {value(7)!r})")
    for latin, cyrillic in (("c", "\u0426"), ("\u010d", "\u0427"),
                            ("\u0107", "\u040b"), ("\u0161", "\u0428"),
                            ("\u017e", "\u0416"), ("\u0111", "\u0402"),
                            ("\u01c6", "\u040f"), ("W", "")):
        driver.find_element(By.ID, "q5").click()
        driver.find_element(By.ID, "q5").send_keys(Keys.DELETE)
        keys(latin)
        check(value(5) == cyrillic, f"Latin {latin!r} types {cyrillic!r} ({value(5)!r})")
    driver.execute_script("localStorage.clear()")


def run_cyrillic_example(driver, url, screenshot):
    """The example exported in Cyrillic with an author: the author under the
    title, the page's words in Cyrillic, a Latin keyboard typing it, on a
    desktop and on a phone."""
    driver.get(url)
    js = driver.execute_script
    check(js("return document.documentElement.lang") == "sr-Cyrl",
          "a Cyrillic page's lang is sr-Cyrl")
    author = driver.find_element(By.CSS_SELECTOR, "h1 + p.author").text
    check(author == "\u0410\u0443\u0442\u043e\u0440: \u0410\u043d\u0430 "
          "\u0410\u043d\u0438\u045b", f"the author shows under the title ({author!r})")
    heads = [h.text for h in driver.find_elements(By.CSS_SELECTOR, ".clues h2")]
    check(heads == ["\u0412\u043e\u0434\u043e\u0440\u0430\u0432\u043d\u043e",
                    "\u0423\u0441\u043f\u0440\u0430\u0432\u043d\u043e"],
          f"Cyrillic headings {heads}")
    first = js("return document.querySelector('#grid input').id")
    driver.find_element(By.ID, first).click()
    driver.switch_to.active_element.send_keys("nj")
    typed = driver.find_element(By.ID, first).get_attribute("value")
    check(typed == "\u040a", f"Latin nj types \u040a ({typed!r})")
    driver.find_element(By.CSS_SELECTOR,
                        "button[data-action=check-grid]").click()
    js("window.scrollTo(0, 0)")
    driver.save_screenshot(screenshot)
    phone(driver, screenshot.replace(".png", "-phone.png"))
    driver.execute_cdp_cmd("Emulation.clearDeviceMetricsOverride", {})
    js("localStorage.clear()")


def run_big(driver, url, report, pdf_base):
    """A magazine-sized grid: fits a phone's screen, prints on two pages."""
    width, height, rows, across, down = report
    driver.get(url)
    check(len(driver.find_elements(By.CSS_SELECTOR, "#across li, #down li"))
          == len(across) + len(down), f"{width}x{height}: every clue listed")
    phone(driver, pdf_base + "-phone.png")
    driver.execute_cdp_cmd("Emulation.clearDeviceMetricsOverride", {})
    print_pages(driver, pdf_base)


def run_english(driver, url):
    """The page exported with --lang en speaks English."""
    driver.get(url)
    js = driver.execute_script
    check(js("return document.documentElement.lang") == "en", "lang is en")
    check(driver.find_element(By.TAG_NAME, "h1").text.startswith("Crossword "),
          "English default title")
    heads = [h.text for h in driver.find_elements(By.CSS_SELECTOR, ".clues h2")]
    check(heads == ["Across", "Down"], f"English headings {heads}")
    driver.find_element(By.CSS_SELECTOR,
                        "button[data-action=check-grid]").click()
    check(driver.find_element(By.ID, "status").text == "No wrong letters.",
          "English message")
    current = driver.find_element(By.ID, "current").text
    check(re.fullmatch(r"1 across: .* \(\d+\)", current),
          f"English direction ({current!r})")
    check(js("return document.querySelector('#grid input')"
             ".getAttribute('aria-label')").startswith("Row 1, column "),
          "English square labels")
    page = js("return document.documentElement.outerHTML")
    serbian = re.findall(r'>(?:Vodoravno|Uspravno|Re[s\u0161]enje|Proveri \w+|'
                         r'Otkrij \w+|Obri[s\u0161]i sve|Kliknite[^<]*)<|'
                         r'aria-label="(?:Red|Mre[z\u017e]a|Re[s\u0161]enje|Tragovi|'
                         r'Ukr[s\u0161]tenica|Provera)[^"]*"', page)
    check(not serbian, f"no Serbian label left {serbian}")


def run_hostile(driver, url, report):
    driver.execute_cdp_cmd("Emulation.setScriptExecutionDisabled",
                           {"value": False})
    driver.get_log("performance")
    driver.get(url)
    js = driver.execute_script
    check(js("return window.pwned === undefined"), "no clue ran script")
    check(not driver.get_log("browser"), "hostile page: no console messages")
    sent = [json.loads(e["message"])["message"]
            for e in driver.get_log("performance")]
    urls = [m["params"]["request"]["url"] for m in sent
            if m["method"] == "Network.requestWillBeSent"
            and m["params"].get("documentURL") == url]
    check(urls == [url], f"hostile page: no request beyond the page {urls}")
    _, _, _, across, down = report
    shown = [li.text.split(".", 1)[1].rsplit("(", 1)[0].strip() for li in
             driver.find_elements(By.CSS_SELECTOR, "#across li, #down li")]
    check(shown == [c.strip() for c in across + down],
          "hostile clues show as typed")
    blanks = [li.get_attribute("id") for li in driver.find_elements(
        By.CSS_SELECTOR, "#across li, #down li")
        if li.find_elements(By.CSS_SELECTOR, ".blank")]
    check(blanks == ["across-3"], f"the empty clue is a line to fill {blanks}")
    width = js("return document.querySelector('#across-3 .blank')"
               ".getBoundingClientRect().width")
    check(width > 50, f"the line to fill is long enough ({width})")
    check(driver.find_element(By.TAG_NAME, "h1").text ==
          "<b onmouseover=alert(1)>", "hostile title shows as typed")
    check(js("return document.scripts.length") == 2, "only the page's scripts")


if __name__ == "__main__":
    main()
