"""The studio's page as the browser checks drive it: waiting for a state,
the grid's squares, what fits, the dialogs, the figures beside the grid and
the console's errors."""

import time

from selenium.webdriver.common.action_chains import ActionChains
from selenium.webdriver.common.by import By
from selenium.webdriver.common.keys import Keys

from browser_util import check


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
    """Severe console entries but the 409 replies the test asked for, and
    any entry that is not ASCII (the page logs in ASCII Latin)."""
    return [e for e in driver.get_log("browser")
            if (e["level"] == "SEVERE" and not (
                e["source"] == "network" and "status of 409" in e["message"]))
            or not e["message"].isascii()]


def figures(p):
    """The quality figures shown beside the grid, by name."""
    return dict(p.js("""return Array.from(document.querySelectorAll('#figures dt'))
        .map((dt) => [dt.textContent, dt.nextElementSibling.textContent]);"""))


def name_dialog(p, typed=None):
    """The name field's suggestion and the files it stands for; types
    `typed` in its place when given, then confirms."""
    name = p.el("name-input")
    suggestion = name.get_attribute("value")
    files = p.el("name-files").text
    if typed is not None:
        name.clear()
        name.send_keys(typed)
    name.send_keys(Keys.ENTER)
    return suggestion, files


def open_file(p, file):
    p.click("open")
    wait("file list", lambda: p.el("open-dialog").is_displayed())
    [b for b in p.d.find_elements(By.CSS_SELECTOR, "#files button")
     if b.text == file][0].click()
    wait("opened " + file, lambda: p.status() == "Otvoreno: " + file)


def ask_dialog(p):
    wait("a question", lambda: p.el("ask-dialog").is_displayed())
    return p.el("ask-question").text
