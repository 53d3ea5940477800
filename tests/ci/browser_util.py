"""What the browser checks share: the record of passed and failed checks,
and a headless Chromium driven through Debian's chromium-driver."""

import sys
import tempfile

from selenium import webdriver
from selenium.webdriver.chrome.service import Service

failures = []


def check(condition, what):
    print(("ok   " if condition else "FAIL ") + what)
    if not condition:
        failures.append(what)


def open_chromium(width, height, logs=("browser",)):
    """A headless Chromium with a fresh profile, a window of width x height
    and every entry of the named logs kept."""
    options = webdriver.ChromeOptions()
    options.binary_location = "/usr/bin/chromium"
    for flag in ("--headless", "--no-sandbox", "--disable-gpu",
                 "--disable-quic", "--no-first-run",
                 "--disable-background-networking",
                 "--disable-component-update", "--disable-sync",
                 f"--window-size={width},{height}",
                 "--user-data-dir=" + tempfile.mkdtemp()):
        options.add_argument(flag)
    options.set_capability("goog:loggingPrefs",
                           {log: "ALL" for log in logs})
    service = Service(executable_path="/usr/bin/chromedriver")
    return webdriver.Chrome(options=options, service=service)


def number(width, height, rows):
    """Square numbers and the slots (number, cells) of both directions: every
    run of open squares, single squares included, in reading order."""
    def open_at(x, y):
        return 0 <= x < width and 0 <= y < height and rows[y][x] != "#"
    numbers = [[0] * width for _ in range(height)]
    slots = ([], [])
    count = 0
    for y in range(height):
        for x in range(width):
            if not open_at(x, y):
                continue
            for d, (dx, dy) in enumerate(((1, 0), (0, 1))):
                if open_at(x - dx, y - dy):
                    continue
                if numbers[y][x] == 0:
                    count += 1
                    numbers[y][x] = count
                cells = []
                cx, cy = x, y
                while open_at(cx, cy):
                    cells.append(cx + cy * width)
                    cx, cy = cx + dx, cy + dy
                slots[d].append((numbers[y][x], cells))
    return numbers, slots


def finish(passed):
    """Exits with status 1 when a check failed, else prints `passed`."""
    if failures:
        print(f"{len(failures)} check(s) failed")
        sys.exit(1)
    print(passed)
