"""The page numbers the squares and slots of a grid as the server does."""

import json
import os

from browser_util import check


# Random grids numbered by the page (grid.js over board_core.js) and saved
# through the server, whose ipuz carries the numbers the C++ side gives.
NUMBERING_SCRIPT = """
const done = arguments[arguments.length - 1];
(async () => {
  const {Grid} = await import('./grid.js');
  const token = new URLSearchParams(location.search).get('token');
  let seed = 12345;
  const random = () => (seed = (seed * 1103515245 + 12345) % 2147483648) / 2147483648;
  const grids = [];
  for (let n = 0; n < arguments[0]; n++) {
    const grid = new Grid(1 + Math.floor(random() * 12), 1 + Math.floor(random() * 12));
    const share = random() * 0.5;
    grid.cells.forEach((cell) => { cell.block = random() < share; });
    grid.cells[0].block = false;
    grid.number();
    const rows = grid.squares().map((row) => row.map((c) => c === '#' ? '#' : '*').join(''));
    const name = 'brojevi-' + n + '.ipuz';
    const reply = await fetch('/api/save', {method: 'POST',
      headers: {'X-Polimreza-Token': token, 'Content-Type': 'application/json'},
      body: JSON.stringify({name, rows, overwrite: true})});
    grids.push({name, status: reply.status, width: grid.width, numbers: grid.numbers,
      across: grid.slots[0].map((s) => s.number), down: grid.slots[1].map((s) => s.number)});
  }
  return grids;
})().then(done, (e) => done(String(e)));
"""


def numbering_agrees(driver, url, folder, count=60):
    """The page numbers random grids as the server does."""
    # The page's modules are all it needs: no wait for the server's lists.
    driver.get(url)
    grids = driver.execute_async_script(NUMBERING_SCRIPT, count)
    check(isinstance(grids, list) and len(grids) == count,
          "random grids numbered in the page: " + repr(grids)[:300])
    differ = []
    for grid in grids:
        if grid["status"] != 200:
            differ.append((grid["name"], grid["status"]))
            continue
        with open(os.path.join(folder, grid["name"]), encoding="utf-8") as f:
            ipuz = json.load(f)
        numbers = [0 if n == "#" else int(n) for row in ipuz["puzzle"] for n in row]
        across = [int(c[0]) for c in ipuz["clues"].get("Across", [])]
        down = [int(c[0]) for c in ipuz["clues"].get("Down", [])]
        if (numbers, across, down) != (grid["numbers"], grid["across"], grid["down"]):
            differ.append((grid["name"], numbers, grid["numbers"]))
        os.remove(os.path.join(folder, grid["name"]))
    check(differ == [], f"{count} random grids numbered alike in the page and in C++: "
          + repr(differ)[:500])
