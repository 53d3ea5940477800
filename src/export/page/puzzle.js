// The playable crossword: selection, typing, moving, checking, revealing and
// progress kept in the browser. The grid, the clues and the solution page
// are already in the HTML, so the page reads and prints without this script.
// The board's core (board_core.js, shared with the studio) comes before it.
(function (core) {
  'use strict';
  var dataText = document.getElementById('puzzle-data').textContent;
  var data = JSON.parse(dataText);
  var ACROSS = core.ACROSS, DOWN = core.DOWN;
  var slots = [data.across, data.down];
  var lists = [document.getElementById('across'), document.getElementById('down')];
  // A skandinavka has no clue lists: its clues stand in the grid, and its
  // single squares are no words.
  var arrowword = data.skandinavka === true;
  var labels = data.labels;
  var dirNames = [labels.across, labels.down];
  var cellCount = data.width * data.height;
  var inputs = [];
  var slotOf = [[], []];  // slotOf[direction][cell]: index of its slot
  var current = -1;
  var direction = ACROSS;
  var status = document.getElementById('status');
  var currentClue = document.getElementById('current');
  var puzzle = document.getElementById('puzzle');

  // FNV-1a of the puzzle data: progress belongs to this one puzzle.
  function hash(text) {
    var h = 0x811c9dc5;
    for (var i = 0; i < text.length; i++) {
      h ^= text.charCodeAt(i);
      h = Math.imul(h, 0x01000193) >>> 0;
    }
    return ('0000000' + h.toString(16)).slice(-8);
  }
  var storageKey = 'polimreza-export:' + hash(dataText);

  for (var d = 0; d < 2; d++) {
    for (var s = 0; s < slots[d].length; s++) {
      slots[d][s].cells.forEach(function (cell) { slotOf[d][cell] = s; }, null);
    }
  }
  for (var i = 0; i < cellCount; i++) {
    inputs[i] = data.letters[i] === null ? null : document.getElementById('q' + i);
  }

  function normal(letter) { return (letter || '').toLocaleUpperCase(document.documentElement.lang); }
  // A typed character as the typing table names it: composed, upper case.
  function keyName(key) { return normal(key.normalize('NFC')); }
  // The letter each key types (a Serbian puzzle's from either script's
  // keyboard) and the pairs of keys that join into one letter: a join
  // [previous, typed, joined] puts `joined` in the square just typed when
  // that square holds `previous` and the next key is `typed`.
  var keys = {};
  Object.keys(data.typing.keys).forEach(function (key) { keys[keyName(key)] = data.typing.keys[key]; });
  var joins = data.typing.joins;
  function allowed(letter) { return keys.hasOwnProperty(keyName(letter)); }
  // The square last typed, while nothing else happened since; null otherwise.
  var lastTyped = null;
  function isOpen(cell) { return cell >= 0 && cell < cellCount && inputs[cell] !== null; }
  function slotCells(dir, cell) { return slots[dir][slotOf[dir][cell]].cells; }
  function cellTd(cell) { return inputs[cell].parentNode; }

  // What every square holds, kept to restore a square that was given
  // something other than a letter.
  var kept = [];
  function keep() {
    kept = inputs.map(function (input) { return input ? input.value : ''; });
    return kept;
  }

  function save() {
    var values = keep();
    try {
      localStorage.setItem(storageKey, JSON.stringify(values));
    } catch (e) { /* storage may be off; the puzzle still plays */ }
  }

  function load() {
    var values = null;
    try { values = JSON.parse(localStorage.getItem(storageKey) || 'null'); } catch (e) { values = null; }
    if (Array.isArray(values) && values.length === cellCount) {
      for (var c = 0; c < cellCount; c++) {
        if (inputs[c] && typeof values[c] === 'string') show(c, normal(values[c]).slice(0, 2));
      }
    }
    keep();
  }

  function isSolved() {
    for (var c = 0; c < cellCount; c++) {
      if (inputs[c] && normal(inputs[c].value) !== normal(data.letters[c])) return false;
    }
    return true;
  }

  function say(text, done) {
    status.textContent = text;
    status.classList.toggle('done', !!done);
  }

  function updateSolved() {
    var solved = isSolved();
    puzzle.classList.toggle('solved', solved);
    if (solved) say(labels.solved, true);
    else if (status.classList.contains('done')) say('', false);
  }

  // Puts `text` in square `cell`, smaller when it is a letter of two
  // characters.
  function show(cell, text) {
    inputs[cell].value = text;
    inputs[cell].classList.toggle('wide', Array.from(text).length > 1);
  }

  function setLetter(cell, letter) {
    show(cell, normal(letter));
    cellTd(cell).classList.remove('wrong');
    cellTd(cell).classList.remove('revealed');
    save();
    updateSolved();
  }

  function highlight() {
    document.querySelectorAll('td.slot, td.here').forEach(function (td) {
      td.classList.remove('slot', 'here');
    });
    document.querySelectorAll('.clues li.active, .clues li.other, .clue.active, .clue.other').forEach(function (li) {
      li.classList.remove('active', 'other');
    });
    if (current < 0) return;
    slotCells(direction, current).forEach(function (cell) { cellTd(cell).classList.add('slot'); });
    cellTd(current).classList.add('here');
    var active = document.getElementById((direction === ACROSS ? 'across-' : 'down-') + slotOf[direction][current]);
    var other = document.getElementById((direction === ACROSS ? 'down-' : 'across-') + slotOf[1 - direction][current]);
    if (other) other.classList.add('other');
    if (!active) return;
    active.classList.add('active');
    var slot = slots[direction][slotOf[direction][current]];
    var clue = /^[ \t]*$/.test(slot.clue) ? '______' : slot.clue;
    currentClue.textContent = (arrowword ? '' : slot.number + ' ') + dirNames[direction] + ': ' + clue +
        ' (' + slot.cells.length + ')';
    if (!arrowword && active.scrollIntoView && active.parentNode.scrollHeight > active.parentNode.clientHeight) {
      active.scrollIntoView({block: 'nearest'});
    }
  }

  // Makes `cell` the current square, in direction `dir`, and focuses it.
  function select(cell, dir) {
    if (!isOpen(cell)) return;
    if (arrowword && slotCells(dir, cell).length < 2) dir = 1 - dir;
    if (current >= 0) inputs[current].tabIndex = -1;
    current = cell;
    direction = dir;
    inputs[cell].tabIndex = 0;
    if (document.activeElement !== inputs[cell]) inputs[cell].focus();
    highlight();
  }

  function turn() { select(current, 1 - direction); }

  // The square `step` places along the current slot, or -1 past its end.
  function along(step) {
    return core.along(slotCells(direction, current), current, step);
  }

  // The next open square from the current one by (dr, dc), skipping blocks.
  function move(dr, dc) {
    var cell = current;
    do {
      cell = core.neighbour(data.width, data.height, cell, dr, dc);
    } while (cell >= 0 && !isOpen(cell));
    return cell;
  }

  function isEmpty(cell) { return !inputs[cell].value; }

  // The slot `step` places from the current one, across slots first; false
  // past either end, so that Tab can leave the grid.
  function nextSlot(step) {
    var counts = [slots[ACROSS].length, slots[DOWN].length];
    var to = core.nextSlot(counts, direction, slotOf[direction][current], step);
    while (arrowword && to && slots[to[0]][to[1]].cells.length < 2) {
      to = core.nextSlot(counts, to[0], to[1], step);
    }
    if (!to) return false;
    select(core.firstEmpty(slots[to[0]][to[1]].cells, isEmpty), to[0]);
    return true;
  }

  function type(letter) {
    setLetter(current, letter);
    var next = along(1);
    if (next >= 0) select(next, direction);
  }

  // Types the key `key`: its letter in the current square, or, when it
  // joins the letter just typed into one, the joined letter in that square,
  // the cursor staying where it is.
  function typeKey(key) {
    var upper = keyName(key);
    var last = lastTyped;
    lastTyped = null;
    if (last !== null) {
      // What the square held before this key: an input event has already
      // put the typed character in the current square.
      var held = normal(kept[last]);
      for (var j = 0; j < joins.length; j++) {
        if (normal(joins[j][0]) === held && keyName(joins[j][1]) === upper) {
          setLetter(last, joins[j][2]);
          return;
        }
      }
    }
    var cell = current;
    type(keys[upper]);
    lastTyped = cell;
  }

  function onKey(event) {
    if (current < 0 || event.ctrlKey || event.metaKey || event.altKey) return;
    var key = event.key, target = -1, action = core.keyAction(key);
    // A key that moves, erases or types no letter ends a pair being typed;
    // Shift and the like do not.
    var editing = ['slot', 'turn', 'back', 'erase', 'arrow'].indexOf(action) >= 0;
    if (editing || (action === 'char' && !allowed(key))) lastTyped = null;
    if (action === 'slot') {
      if (nextSlot(event.shiftKey ? -1 : 1)) event.preventDefault();
      return;
    }
    if (action === 'turn') { turn(); event.preventDefault(); return; }
    if (action === 'back') {
      event.preventDefault();
      if (inputs[current].value) { setLetter(current, ''); return; }
      target = along(-1);
      if (target >= 0) { select(target, direction); setLetter(target, ''); }
      return;
    }
    if (action === 'erase') { event.preventDefault(); setLetter(current, ''); return; }
    if (action === 'arrow') {
      event.preventDefault();
      var arrow = core.arrow(key);
      target = move(arrow.dr, arrow.dc);
      if (target >= 0) select(target, arrow.direction);
      else if (arrow.direction !== direction) select(current, arrow.direction);
      return;
    }
    // Any other character is typed when it is a letter of the puzzle and
    // refused otherwise.
    if (action === 'char') {
      event.preventDefault();
      if (allowed(key)) typeKey(key);
    }
  }

  // Typing that arrives without a usable key event (phone keyboards): the
  // last letter of the puzzle entered is the letter; with none the square
  // keeps what it had.
  function onInput(event) {
    var cell = Number(event.target.dataset.i);
    var chars = Array.from(event.target.value);
    if (cell !== current) select(cell, direction);
    if (chars.length === 0) { setLetter(cell, ''); return; }
    // What was typed is the input's data when the browser gives it: the
    // square's old letter stays out of it wherever the caret stood.
    var typed = typeof event.data === 'string' && event.data ? Array.from(event.data) : chars;
    var letters = typed.filter(allowed);
    // The square shows what it held until the letter typed is placed, which
    // may be a join into the square before.
    show(cell, kept[cell]);
    if (letters.length > 0) typeKey(letters[letters.length - 1]);
  }

  var pressedCurrent = false;
  function onPointerDown(event) {
    var input = event.target.closest('td.sq') && event.target.closest('td.sq').querySelector('input');
    pressedCurrent = !!input && Number(input.dataset.i) === current && document.activeElement === input;
  }
  function onClick(event) {
    if (event.target.closest('.clue[data-slot]')) return onClue(event);
    var td = event.target.closest('td.sq');
    if (!td) return;
    lastTyped = null;
    var cell = Number(td.querySelector('input').dataset.i);
    if (pressedCurrent && cell === current) turn();
    else select(cell, direction);
    pressedCurrent = false;
  }

  function check(cells) {
    var wrong = 0;
    cells.forEach(function (cell) {
      var value = inputs[cell].value;
      var bad = value !== '' && normal(value) !== normal(data.letters[cell]);
      cellTd(cell).classList.toggle('wrong', bad);
      if (bad) wrong++;
    });
    if (isSolved()) return updateSolved();
    say(wrong === 0 ? labels['none-wrong'] : labels.wrong + wrong + '.', false);
  }

  function reveal(cells) {
    cells.forEach(function (cell) {
      show(cell, normal(data.letters[cell]));
      cellTd(cell).classList.remove('wrong');
      cellTd(cell).classList.add('revealed');
    });
    save();
    updateSolved();
  }

  function allCells() {
    var cells = [];
    for (var c = 0; c < cellCount; c++) if (inputs[c]) cells.push(c);
    return cells;
  }

  function onAction(event) {
    var button = event.target.closest('button[data-action]');
    if (!button) return;
    lastTyped = null;
    if (current < 0) select(data.across[0].cells[0], ACROSS);
    var here = [current], slot = slotCells(direction, current);
    switch (button.dataset.action) {
      case 'check-cell': check(here); break;
      case 'check-slot': check(slot); break;
      case 'check-grid': check(allCells()); break;
      case 'reveal-cell': reveal(here); break;
      case 'reveal-slot': reveal(slot); break;
      case 'reveal-grid': reveal(allCells()); break;
      case 'clear':
        allCells().forEach(function (cell) {
          show(cell, '');
          cellTd(cell).classList.remove('wrong', 'revealed');
        });
        save();
        say(labels.cleared, false);
        puzzle.classList.remove('solved');
        break;
    }
    inputs[current].focus();
  }

  function onClue(event) {
    var li = event.target.closest('li[data-slot], .clue[data-slot]');
    if (!li) return;
    lastTyped = null;
    var dir = li.dataset.dir ? Number(li.dataset.dir) : li.parentNode.id === 'across' ? ACROSS : DOWN;
    select(core.firstEmpty(slots[dir][Number(li.dataset.slot)].cells, isEmpty), dir);
  }

  var grid = document.getElementById('grid');
  allCells().forEach(function (cell) {
    inputs[cell].tabIndex = -1;
    inputs[cell].addEventListener('focus', function () {
      if (current !== cell) select(cell, direction);
    });
  });
  grid.addEventListener('keydown', onKey);
  grid.addEventListener('input', onInput);
  grid.addEventListener('pointerdown', onPointerDown);
  grid.addEventListener('click', onClick);
  lists.forEach(function (list) { if (list) list.addEventListener('click', onClue); });
  document.getElementById('controls').addEventListener('click', onAction);
  document.getElementById('controls').hidden = false;
  document.getElementById('help').hidden = false;
  currentClue.hidden = false;

  load();
  // The first word: a skandinavka's first clue's, which is never a single
  // square.
  var start = arrowword ? data.clues[0] : {direction: ACROSS, slot: 0};
  var first = slots[start.direction][start.slot].cells[0];
  inputs[first].tabIndex = 0;
  current = first;
  direction = start.direction;
  highlight();
  updateSolved();
})(polimrezaBoard);
