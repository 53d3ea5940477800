"""A skandinavka made in the studio's page: its arrows, clue squares,
fill, save, export and reopening."""

import json
import os

from selenium.webdriver.common.by import By
from selenium.webdriver.common.keys import Keys

from browser_util import check
from studio_page import Page, ask_dialog, console_errors, name_dialog, \
    open_file, wait


def arrows(p):
    """The arrows drawn on the grid: {(row, col): [kinds]}."""
    found = p.js("""return Array.from(document.querySelectorAll('#grid .sk-arrow'))
        .map(a => [a.closest('td').dataset.i, a.className]);""")
    shown = {}
    for i, name in found:
        kind = [c for c in name.split() if c not in ("sk", "sk-arrow")][0]
        shown.setdefault(divmod(int(i), 4), []).append(kind)
    return {k: sorted(v) for k, v in shown.items()}


def square_text(p, row, col):
    return p.js("""const box = arguments[0].closest('td').querySelector('.sk-text');
        return box ? Array.from(box.querySelectorAll('.sk-line')).map(l => l.textContent)
          : null;""", p.square(row, col))


def skandinavka(driver, url, folder, screenshot):
    """A 4x4 skandinavka from the template: arrows, a refused pattern, a
    fill, a clue typed into its square and shown in lines, a clue too long,
    save, export, reopen and the working copy, all keeping the kind."""
    p = Page(driver)
    driver.get(url)
    if p.el("ask-dialog").is_displayed():
        p.click("ask-no")
    wait("page ready", lambda: "ready" in p.js("return document.body.className"))
    for field in ("width", "height"):
        p.el(field).clear()
        p.el(field).send_keys("4")
    check(not p.el("layout-field").is_displayed(), "no layout for a classic grid")
    p.el("kind").send_keys("s")  # skandinavka
    check(p.js("return document.getElementById('kind').value") == "skandinavka"
          and p.el("layout-field").is_displayed(), "the layouts of a skandinavka offered")
    p.click("new-grid")
    if p.el("ask-dialog").is_displayed():
        p.click("ask-yes")
    check(p.letters() == ["####", "#***", "#***", "#***"],
          "the template: clue squares along the top and the left")
    straight = {(1, 1): ["across-straight", "down-straight"]}
    for c in (2, 3):
        straight[(1, c)] = ["down-straight"]
        straight[(c, 1)] = ["across-straight"]
    wait("the arrows of the layout", lambda: arrows(p) == straight)
    check(not p.el("clue-lists").is_displayed() if driver.find_elements(By.ID, "clue-lists")
          else not driver.find_element(By.CSS_SELECTOR, ".clue-lists").is_displayed(),
          "no numbered clue lists")

    # An open corner is in no word: named under the grid, and no fill.
    p.square(0, 0).click()
    p.keys(".")
    wait("the refusal shown", lambda: p.el("sk-refusal").text ==
         "Polje (1,1) ne pripada nijednoj reči.")
    p.click("fill")
    p.wait_fill()
    check(p.status() == "Polje (1,1) ne pripada nijednoj reči."
          and "error" in p.el("status").get_attribute("class"), "the fill refused: " + p.status())
    p.ctrl("z")
    wait("the refusal gone", lambda: not p.el("sk-refusal").is_displayed()
         and arrows(p) == straight)

    # What fits a word, then a fill.
    p.square(1, 1).click()
    wait("what fits a skandinavka's word", lambda: len(p.fits()) == 50)
    p.click("fill")
    p.wait_fill()
    check(p.status().startswith("Mreža je popunjena"), "a skandinavka fills: " + p.status())
    grid = p.letters()
    check(all("*" not in row for row in grid), "every square filled")

    # A clue typed into its square shows there in lines of 9 characters.
    p.square(1, 0).click()
    wait("the clue square's editor", lambda: p.el("sk-editor").is_displayed())
    check(p.el("sk-square").text == "Polje za opis (1,2)", "the editor names the square")
    field = p.el("sk-input-0")
    field.clear()
    field.send_keys("Reka kroz Beograd" + Keys.ENTER)
    wait("clue saved", lambda: p.status() == f"Opis za {grid[1][1:]} je sačuvan.")
    wait("the clue in its square", lambda: square_text(p, 1, 0) == ["Reka kroz", "Beograd"])
    check(p.el("sk-preview-0").text.split("\n") == ["Reka kroz", "Beograd"]
          and not p.el("sk-warning-0").is_displayed(), "the preview as it will print")
    p.square(0, 1).click()
    wait("the down clue's editor", lambda: p.el("sk-square").text == "Polje za opis (2,1)")
    long_clue = "Najduži opis koji nikako ne može da stane u polje od pet redova"
    p.el("sk-input-0").clear()
    p.el("sk-input-0").send_keys(long_clue + Keys.ENTER)
    wait("too long a clue warned", lambda: p.el("sk-warning-0").text ==
         "Ne staje u 5 redova po 9 znakova.")
    items = driver.find_elements(By.CSS_SELECTOR, "#sk-list li")
    check(len(items) == 6 and items[0].find_element(By.CLASS_NAME, "sk-where").text == "(2,1)"
          and "over" in items[0].find_element(By.CLASS_NAME, "sk-entry")
          .get_attribute("class"), "the panel lists the clues by square")
    check(any(i.text.endswith("Reka kroz Beograd") for i in items),
          "the panel holds the clue")

    p.click("save")
    name_dialog(p, "skandinavka")
    wait("saved", lambda: p.status() == "Sačuvano: skandinavka.ipuz")
    with open(os.path.join(folder, "skandinavka.ipuz"), encoding="utf-8") as f:
        ipuz = json.load(f)
    check(ipuz.get("com.polimreza:kind") == "skandinavka"
          and {"row": 1, "col": 1, "direction": "across", "clue": "Reka kroz Beograd",
               "square": [1, 0]} in ipuz.get("com.polimreza:clues", []),
          "the kind and the clues saved: " + json.dumps(ipuz.get("com.polimreza:clues")))

    exported = ["skandinavka-stampa.html", "skandinavka-stampa.svg"]
    p.click("export")
    _, files = name_dialog(p)
    check(files == "Biće zapisano: " + ", ".join(exported), "a skandinavka exports no ipuz")
    wait("exported", lambda: p.status() == "Izvezeno: " + ", ".join(exported))
    with open(os.path.join(folder, exported[0]), encoding="utf-8") as f:
        check('"skandinavka":true' in f.read().replace(" ", ""),
              "the exported page is a skandinavka")

    p.el("kind").send_keys("k")  # klasicna
    p.click("new-grid")
    check(p.letters() == ["****"] * 4 and arrows(p) == {}, "a classic grid again")
    open_file(p, "skandinavka.ipuz")
    check(p.letters() == grid and p.js("return document.getElementById('kind').value")
          == "skandinavka", "the skandinavka reopened")
    wait("its arrows and clue back", lambda: arrows(p) == straight
         and square_text(p, 1, 0) == ["Reka kroz", "Beograd"])
    p.square(0, 1).click()
    driver.save_screenshot(screenshot)

    # The working copy keeps the kind.
    p.square(2, 0).click()
    wait("the editor", lambda: p.el("sk-square").text == "Polje za opis (1,3)")
    p.el("sk-input-0").clear()
    p.el("sk-input-0").send_keys("Nov opis" + Keys.ENTER)
    wait("clue saved", lambda: p.status().startswith("Opis za"))
    driver.refresh()
    ask_dialog(p)
    p.click("ask-yes")
    wait("page ready", lambda: "ready" in p.js("return document.body.className"))
    wait("the working copy is a skandinavka", lambda: arrows(p) == straight
         and square_text(p, 2, 0) == ["Nov opis"])
    errors = console_errors(driver)
    check(errors == [], "no console errors in a skandinavka: " + json.dumps(errors)[:500])
