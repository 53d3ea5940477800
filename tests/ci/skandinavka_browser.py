#!/usr/bin/env python3
"""Checks an exported skandinavka in headless Chromium: solving it on the
page (typing, checking, a click on a clue, Tab past single squares), the
print layout (a 15x11 grid with clues of 20 characters on one A4 page, the
solution on a second, every clue line inside its square), and a hostile
page (markup, a clue of 500 characters, a word of 40 letters) that must
show as typed and stay inside.

Usage: skandinavka_browser.py PRINT_HTML HOSTILE_HTML SCREENSHOT PDF
       skandinavka_browser.py --write-report KIND FILE

KIND is "print" (every clue 20 characters) or "hostile". The figures of the
print check are printed for the record.
"""
import base64
import re
import sys

from selenium.webdriver.common.by import By
from selenium.webdriver.common.keys import Keys

from browser_util import check, finish, open_chromium

WIDTH, HEIGHT = 15, 11
# Clue squares inside the frame of the top row and the left column; each
# of these serves an across and a down word.
INNER = {(5, 3), (10, 6), (3, 8), (12, 2), (7, 9)}


def pattern():
    return ["".join("#" if y == 0 or x == 0 or (x, y) in INNER else "."
                    for x in range(WIDTH)) for y in range(HEIGHT)]


def slots(rows):
    """Slot starts of both directions, single squares included, in reading
    order, as [(cell, length)]."""
    found = ([], [])
    for y in range(HEIGHT):
        for x in range(WIDTH):
            if rows[y][x] == "#":
                continue
            for d, (dx, dy) in enumerate(((1, 0), (0, 1))):
                px, py = x - dx, y - dy
                if px >= 0 and py >= 0 and rows[py][px] != "#":
                    continue
                n = 0
                while (x + n * dx < WIDTH and y + n * dy < HEIGHT and
                       rows[y + n * dy][x + n * dx] != "#"):
                    n += 1
                found[d].append((x + y * WIDTH, n))
    return found


def write_report(kind, path):
    rows = pattern()
    letters = [
        "".join("#" if c == "#" else chr(ord("A") + (x * 7 + y * 3) % 26)
                for x, c in enumerate(row)) for y, row in enumerate(rows)]
    across, down = slots(rows)
    hostile = ["</script><script>window.pwned=1</script>",
               '<img src=x onerror="window.pwned=2">',
               "Reka " * 100, "X" * 40, "&amp; <b>bold</b>"]
    count = 0

    def clue(length):
        nonlocal count
        if length < 2:
            return ""
        count += 1
        if kind == "hostile" and count <= len(hostile):
            return hostile[count - 1].strip()
        return f"{count:03d} kratak opis reci"  # 20 characters

    lines = [f"MaxVodoravno:{WIDTH}, MaxUspravno:{HEIGHT}",
             "Ukrstenica je resena", "Sad cu je prikazati...", ""] + letters
    lines.append("Vodoravno:")
    lines += [f"{k}.{clue(n)}" for k, (_, n) in enumerate(across)]
    lines += ["", "Uspravno:"]
    lines += [f"{k}.{clue(n)}" for k, (_, n) in enumerate(down)]
    open(path, "w", encoding="utf-8").write("\n".join(lines) + "\n")


def lines_inside(driver):
    """[lines, lines outside their square, widest line / square side]."""
    return driver.execute_script("""
      var outside = 0, lines = 0, widest = 0;
      document.querySelectorAll('#grid td.cs').forEach(function (td) {
        var box = td.getBoundingClientRect();
        td.querySelectorAll('.ln').forEach(function (ln) {
          var r = ln.getBoundingClientRect();
          lines++;
          widest = Math.max(widest, r.width / box.width);
          if (r.left < box.left - 0.5 || r.right > box.right + 0.5 ||
              r.top < box.top - 0.5 || r.bottom > box.bottom + 0.5) outside++;
        });
      });
      return [lines, outside, widest];""")


def solve(driver, url):
    """Types a word, checks it, clicks a clue and reveals the rest."""
    driver.get(url)
    js = driver.execute_script
    data = js("return JSON.parse(document.getElementById('puzzle-data')"
              ".textContent)")
    check(data["skandinavka"] is True, "the page data says skandinavka")
    first = data["clues"][0]
    slot = data["across" if first["direction"] == 0 else "down"][first["slot"]]
    active = js("return document.activeElement.id || document.querySelector("
                "'td.here input').id")
    check(active == f"q{slot['cells'][0]}",
          f"the first word is selected at the start ({active})")
    # From a down word followed by a single square, Tab skips the single
    # square, which is no word, to the next word.
    down = data["down"]
    k = next(k for k in range(len(down) - 2)
             if len(down[k]["cells"]) > 1 and len(down[k + 1]["cells"]) == 1)
    after = next(w for w in down[k + 1:] if len(w["cells"]) > 1)["cells"][0]
    driver.find_element(By.ID, f"down-{k}").click()
    driver.switch_to.active_element.send_keys(Keys.TAB)
    here = js("return Number(document.querySelector('td.here input')"
              ".dataset.i)")
    check(here == after, f"Tab skips a single square to the next word "
          f"({here})")
    # Click the clue of the last down word: its first square is selected,
    # down.
    down = [c for c in data["clues"] if c["direction"] == 1][-1]
    cells = data["down"][down["slot"]]["cells"]
    driver.find_element(By.ID, f"down-{down['slot']}").click()
    here = js("return Number(document.querySelector('td.here input')"
              ".dataset.i)")
    check(here == cells[0], f"a click on a clue selects its word ({here})")
    marked = js("return document.querySelectorAll('td.slot').length")
    check(marked == len(cells), f"its {len(cells)} squares are marked")
    check(js(f"return document.getElementById('down-{down['slot']}')"
             ".classList.contains('active')"), "the clue is marked")
    word = "".join(data["letters"][c] for c in cells)
    typed = word[:-1] + ("B" if word[-1] != "B" else "C")
    for letter in typed:
        driver.switch_to.active_element.send_keys(letter)
    values = js("return %s.map(function (c) { return "
                "document.getElementById('q' + c).value; }).join('')" % cells)
    check(values == typed, f"typing fills the word ({values})")
    driver.find_element(By.CSS_SELECTOR, "[data-action=check-slot]").click()
    wrong = js("return document.querySelectorAll('td.wrong').length")
    check(wrong == 1, f"checking the word marks its wrong letter ({wrong})")
    driver.find_element(By.CSS_SELECTOR, "[data-action=reveal-grid]").click()
    check(js("return document.getElementById('puzzle').classList"
             ".contains('solved')"), "revealing all solves the puzzle")


def print_check(driver, url, pdf_path):
    """One A4 page for the puzzle, one for the solution, every line in its
    square in print emulation; prints the figures."""
    driver.get(url)
    pdf = base64.b64decode(driver.execute_cdp_cmd("Page.printToPDF", {
        "printBackground": True, "paperWidth": 8.27,
        "paperHeight": 11.69})["data"])
    open(pdf_path, "wb").write(pdf)
    pages = len(re.findall(rb"/Type\s*/Page\b", pdf))
    check(pages == 2, f"the 15x11 skandinavka prints on two A4 pages ({pages})")
    # The printable width of A4 with the page's 1.5 cm margins: 18 cm.
    driver.execute_cdp_cmd("Emulation.setEmulatedMedia", {"media": "print"})
    driver.set_window_size(680 + 16, 1000)
    js = driver.execute_script
    lines, outside, widest = lines_inside(driver)
    check(lines > 0 and outside == 0,
          f"every clue line inside its square in print ({outside} of {lines})")
    cell = js("return document.querySelector('#grid td.cs')"
              ".getBoundingClientRect().width")
    font = js("return parseFloat(getComputedStyle(document.querySelector("
              "'#grid .cq')).fontSize)")
    grid = js("var r = document.getElementById('grid').getBoundingClientRect();"
              "return [r.width, r.height]")
    print(f"figures: A4 pages {pages}; square {cell / 96 * 2.54:.2f} cm; "
          f"clue font {font * 0.75:.1f} pt; grid {grid[0] / 96 * 2.54:.1f} x "
          f"{grid[1] / 96 * 2.54:.1f} cm; clue lines {lines}, outside 0 of "
          f"them: {outside == 0}; widest line {widest * 100:.0f}% of a square")
    driver.execute_cdp_cmd("Emulation.setEmulatedMedia", {"media": ""})


def hostile(driver, url, screenshot):
    driver.get(url)
    js = driver.execute_script
    check(js("return window.pwned === undefined"), "no clue runs script")
    text = js("return Array.from(document.querySelectorAll('#grid .clue'))"
              ".map(function (c) { return Array.from(c.children).map("
              "function (l) { return l.textContent; }).join(''); })")
    check(any("<img" in t for t in text), "markup in a clue shows as text")
    check(any(t.startswith("</script>") for t in text),
          "a clue that closes the script shows as text")
    lines, outside, widest = lines_inside(driver)
    check(outside == 0, f"a 500-character clue and a 40-letter word stay "
          f"inside their squares ({outside} of {lines} lines outside)")
    driver.save_screenshot(screenshot)


def main():
    if sys.argv[1] == "--write-report":
        write_report(sys.argv[2], sys.argv[3])
        return
    print_html, hostile_html, screenshot, pdf = sys.argv[1:5]
    driver = open_chromium(1280, 1000)
    try:
        solve(driver, "file://" + print_html)
        print_check(driver, "file://" + print_html, pdf)
        hostile(driver, "file://" + hostile_html, screenshot)
    finally:
        driver.quit()
    finish("skandinavka page: all checks passed")


if __name__ == "__main__":
    main()
