// The grid on the page: drawing the squares, numbers and marks, and the
// keys and clicks that move the cursor, type letters, toggle blocks and
// select a rectangle.
import {ACROSS, DOWN} from './grid.js';

const core = globalThis.polimrezaBoard;
import {t} from './texts.js';

export class Board {
  // `table`: the grid's table; `history`: the edits (grid.js); `alphabet`:
  // letters.js; `events`: {edited(), moved()} called after each change,
  // refused(key) after a key that types no letter, drawn(), when given,
  // after each draw.
  constructor(table, history, alphabet, events) {
    this.table = table;
    this.history = history;
    this.alphabet = alphabet;
    this.events = events;
    this.current = 0;
    this.direction = ACROSS;
    this.symmetry = true;
    this.anchor = -1;  // the corner a Shift selection started from
    this.dead = new Set();
    this.marks = null;  // (i) => further classes of square i
    this.shortestWord = 1;  // slots shorter than this are no words (Tab skips them)
    this.typed = null;  // the square and letter of the last key typed
    this.pressedCurrent = false;
    this.inputs = [];
    this.cells = [];
    table.addEventListener('keydown', (e) => this.onKey(e));
    table.addEventListener('input', (e) => this.onInput(e));
    table.addEventListener('pointerdown', (e) => this.onPointerDown(e));
    table.addEventListener('click', (e) => this.onClick(e));
  }

  get grid() { return this.history.grid; }

  // Builds the table afresh for the grid's size.
  build() {
    const grid = this.grid;
    this.table.replaceChildren();
    this.table.style.setProperty('--cols', String(grid.width));
    this.table.style.setProperty('--rows', String(grid.height));
    this.inputs = [];
    this.cells = [];
    const body = document.createElement('tbody');
    for (let row = 0; row < grid.height; row++) {
      const tr = document.createElement('tr');
      for (let col = 0; col < grid.width; col++) {
        const i = grid.index(row, col);
        const td = document.createElement('td');
        td.className = 'sq';
        td.dataset.i = String(i);
        const num = document.createElement('span');
        num.className = 'num';
        const input = document.createElement('input');
        input.type = 'text';
        input.autocomplete = 'off';
        input.spellcheck = false;
        input.tabIndex = -1;
        input.dataset.i = String(i);
        input.id = 'sq-' + row + '-' + col;
        input.setAttribute('aria-label', t('squareLabel', row + 1, col + 1));
        input.addEventListener('focus', () => {
          if (this.current !== i) this.select(i, this.direction);
        });
        td.append(num, input);
        tr.append(td);
        this.inputs.push(input);
        this.cells.push(td);
      }
      body.append(tr);
    }
    this.table.append(body);
    this.drawn = this.cells.map(() => ({classes: '', number: '', letter: ''}));
    this.built = grid.width + 'x' + grid.height;
  }

  // Draws the grid's squares, numbers, marks and the cursor.
  draw() {
    const grid = this.grid;
    if (this.built !== grid.width + 'x' + grid.height) this.build();
    if (this.current >= grid.cells.length) this.current = 0;
    const slot = grid.slotAt(this.current, this.direction);
    const inSlot = new Set(slot ? slot.cells : []);
    const selected = this.selection();
    grid.cells.forEach((cell, i) => {
      // A large grid redraws only the squares that changed.
      let classes = 'sq';
      if (cell.block) classes += ' block';
      else if (cell.machine && cell.letter !== '') classes += ' machine';
      if (!cell.block && this.dead.has(i)) classes += ' dead';
      if (!cell.block && this.marks) classes += this.marks(i);
      if (inSlot.has(i)) classes += ' slot';
      if (i === this.current) classes += ' here';
      if (selected !== null && this.inRect(i, selected)) classes += ' sel';
      if (cell.letter.length > 1) classes += ' two';
      const number = grid.numbers[i] ? String(grid.numbers[i]) : '';
      const drawn = this.drawn[i];
      if (drawn.classes === classes && drawn.number === number &&
          drawn.letter === cell.letter) {
        return;
      }
      const td = this.cells[i];
      const input = this.inputs[i];
      td.className = classes;
      if (drawn.number !== number) td.firstChild.textContent = number;
      if (input.value !== cell.letter) input.value = cell.letter;
      input.tabIndex = i === this.current ? 0 : -1;
      this.drawn[i] = {classes, number, letter: cell.letter};
    });
    if (this.events.drawn) this.events.drawn();
  }

  focus() {
    const input = this.inputs[this.current];
    if (input && document.activeElement !== input) input.focus({preventScroll: false});
  }

  // Makes square `i` the cursor, in `direction`.
  select(i, direction, keepSelection = false) {
    if (i < 0 || i >= this.grid.cells.length) return;
    if (!keepSelection) this.anchor = -1;
    this.current = i;
    this.direction = direction;
    this.draw();
    this.focus();
    this.events.moved();
  }

  turn() { this.select(this.current, 1 - this.direction); }

  // The selected rectangle {top, left, bottom, right}, or null.
  selection() {
    if (this.anchor < 0 || this.anchor === this.current) return null;
    const g = this.grid;
    const [r1, c1, r2, c2] = [g.rowOf(this.anchor), g.colOf(this.anchor),
      g.rowOf(this.current), g.colOf(this.current)];
    return {top: Math.min(r1, r2), left: Math.min(c1, c2),
      bottom: Math.max(r1, r2), right: Math.max(c1, c2)};
  }

  inRect(i, rect) {
    const row = this.grid.rowOf(i), col = this.grid.colOf(i);
    return row >= rect.top && row <= rect.bottom && col >= rect.left && col <= rect.right;
  }

  clearSelection() {
    if (this.anchor < 0) return;
    this.anchor = -1;
    this.draw();
  }

  // Applies an edit of the grid (see History.apply) and redraws.
  edit(change) {
    if (!this.history.apply(change)) return false;
    this.draw();
    this.events.edited();
    return true;
  }

  setLetter(i, letter) {
    return this.edit((g) => {
      const cell = g.cells[i];
      if (cell.block || (cell.letter === letter && !cell.machine)) return false;
      cell.letter = letter;
      cell.machine = false;
    });
  }

  // Turns square `i` into a block or back, with its twin when symmetry is on.
  toggleBlock(i) {
    this.typed = null;
    this.edit((g) => {
      const block = !g.cells[i].block;
      const squares = this.symmetry ? [i, g.twin(i)] : [i];
      squares.forEach((k) => { g.cells[k] = {block, letter: '', machine: false}; });
    });
  }

  // The square `step` places along the current slot, or -1 past its end.
  along(step) {
    const slot = this.grid.slotAt(this.current, this.direction);
    return slot ? core.along(slot.cells, this.current, step) : -1;
  }

  // The neighbouring square by (dr, dc), blocks included, or -1 at the edge.
  neighbour(dr, dc) {
    return core.neighbour(this.grid.width, this.grid.height, this.current, dr, dc);
  }

  // The slot `step` places from the current one, across slots first; false
  // past either end, so that Tab can leave the grid.
  nextSlot(step) {
    const g = this.grid;
    const here = g.slotAt(this.current, this.direction);
    const counts = [g.slots[ACROSS].length, g.slots[DOWN].length];
    let to = core.nextSlot(counts, this.direction, here ? here.index : -1, step);
    while (to && g.slots[to[0]][to[1]].cells.length < this.shortestWord) {
      to = core.nextSlot(counts, to[0], to[1], step);
    }
    if (!to) return false;
    this.goToSlot(g.slots[to[0]][to[1]]);
    return true;
  }

  // Moves the cursor to the first empty square of `slot`, else its start.
  goToSlot(slot) {
    this.select(core.firstEmpty(slot.cells, (i) => this.grid.cells[i].letter === ''),
      slot.direction);
  }

  // Types `letter` (of the key `key`) at the cursor and moves along the
  // slot; a key that joins with the letter typed just before (J after L,
  // Ž after D; in Cyrillic J after Л, Н or Д) makes that square's letter
  // instead.
  type(letter, key) {
    const g = this.grid;
    if (g.cells[this.current].block) return;
    const last = this.typed;
    if (last && last.next === this.current && g.cells[last.cell].letter === last.letter) {
      const joined = this.alphabet.joinOf(last.letter, key);
      if (joined) {
        this.typed = null;
        this.setLetter(last.cell, joined);
        return;
      }
    }
    if (!letter) return;
    const cell = this.current;
    this.setLetter(cell, letter);
    const next = this.along(1);
    if (next >= 0) this.select(next, this.direction);
    // At a slot's end the cursor stays, and a key that joins still may.
    this.typed = {cell, letter, next: next >= 0 ? next : cell};
  }

  // Whether `key` types something now: a letter, or a join with the letter
  // typed just before.
  types(key, last) {
    return !!this.alphabet.letterOf(key) ||
      (!!last && !!this.alphabet.joinOf(last.letter, key));
  }

  onKey(event) {
    const key = event.key;
    if (event.ctrlKey || event.metaKey || event.altKey) return;
    if (key === 'Shift') return;
    const typed = this.typed;
    this.typed = null;
    const action = key === '.' ? 'block' : core.keyAction(key);
    if (action === 'slot') {
      if (this.nextSlot(event.shiftKey ? -1 : 1)) event.preventDefault();
      return;
    }
    if (action !== '' && action !== 'escape') event.preventDefault();
    if (action === 'turn') this.turn();
    else if (action === 'block') this.toggleBlock(this.current);
    else if (action === 'back') this.back();
    else if (action === 'erase') this.setLetter(this.current, '');
    else if (action === 'arrow') this.onArrow(core.arrow(key), event.shiftKey);
    else if (action === 'escape') this.clearSelection();
    else if (action === 'char') this.onChar(key, typed);
  }

  // Backspace: empties the cursor's square, or when it is empty the one
  // before it along the slot, moving there.
  back() {
    if (this.grid.cells[this.current].letter) { this.setLetter(this.current, ''); return; }
    const back = this.along(-1);
    if (back >= 0) { this.select(back, this.direction); this.setLetter(back, ''); }
  }

  // An arrow key moves to the neighbouring square in its direction (turning
  // there), or only turns at the edge; with Shift it stretches the selection.
  onArrow(move, shift) {
    const target = this.neighbour(move.dr, move.dc);
    if (shift) {
      if (this.anchor < 0) this.anchor = this.current;
      if (target >= 0) this.select(target, this.direction, true);
      return;
    }
    if (target >= 0) this.select(target, move.direction);
    else if (move.direction !== this.direction) this.select(this.current, move.direction);
  }

  // Any other character is typed when it is a letter of the alphabet and
  // refused otherwise.
  onChar(key, typed) {
    if (this.types(key, typed)) {
      this.typed = typed;
      this.type(this.alphabet.letterOf(key), key);
    } else {
      this.events.refused(key);
    }
  }

  // Typing that arrives without a usable key event (phone keyboards): the
  // last letter of the alphabet entered is the letter.
  onInput(event) {
    const i = Number(event.target.dataset.i);
    const text = event.target.value;
    const cell = this.grid.cells[i];
    if (i !== this.current) this.select(i, this.direction);
    if (text === '') { this.setLetter(i, ''); return; }
    if (text.endsWith('.')) { event.target.value = cell.letter; this.toggleBlock(i); return; }
    const keys = Array.from(text).filter((c) => this.alphabet.letterOf(c));
    event.target.value = cell.letter;
    if (keys.length) {
      const key = keys[keys.length - 1];
      this.type(this.alphabet.letterOf(key), key);
    } else {
      this.events.refused(Array.from(text).pop());
    }
  }

  onPointerDown(event) {
    const td = event.target.closest('td.sq');
    this.pressedCurrent = !!td && Number(td.dataset.i) === this.current &&
      document.activeElement === this.inputs[this.current];
  }

  onClick(event) {
    const td = event.target.closest('td.sq');
    if (!td) return;
    const i = Number(td.dataset.i);
    this.typed = null;
    if (event.shiftKey) {
      if (this.anchor < 0) this.anchor = this.current;
      this.select(i, this.direction, true);
    } else if (this.pressedCurrent && i === this.current) {
      this.turn();
    } else {
      this.select(i, this.direction);
    }
    this.pressedCurrent = false;
  }
}
