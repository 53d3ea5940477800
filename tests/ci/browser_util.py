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


def finish(passed):
    """Exits with status 1 when a check failed, else prints `passed`."""
    if failures:
        print(f"{len(failures)} check(s) failed")
        sys.exit(1)
    print(passed)
