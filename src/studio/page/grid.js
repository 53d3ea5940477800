// The grid being built: its squares (block, letter, whose letter), its slots
// and their numbers, and the undo and redo of every edit.

// The board's shared core (src/export/page/board_core.js), served beside
// the studio's own files.
import './board_core.js';

const core = globalThis.polimrezaBoard;
export const ACROSS = core.ACROSS;
export const DOWN = core.DOWN;
export const DIRECTION_NAMES = ['across', 'down'];

// One square: a block, or an open square with a letter ('' when empty)
// that the author or the machine placed.
function square(block = false, letter = '', machine = false) {
  return {block, letter, machine};
}

export class Grid {
  constructor(width, height, cells = null) {
    this.width = width;
    this.height = height;
    this.cells = cells || Array.from({length: width * height}, () => square());
    this.number();
  }

  // A grid from the squares of split rows (see letters.js); `machine` the
  // indexes of the squares the machine filled.
  static fromSquares(rows, machine = new Set()) {
    const height = rows.length;
    const width = height ? rows[0].length : 0;
    const cells = [];
    rows.forEach((row) => row.forEach((value) => {
      const i = cells.length;
      cells.push(value === '#' ? square(true)
        : square(false, value, value !== '' && machine.has(i)));
    }));
    return new Grid(width, height, cells);
  }

  copy() {
    return new Grid(this.width, this.height, this.cells.map((c) => ({...c})));
  }

  index(row, col) { return col + row * this.width; }
  rowOf(i) { return Math.floor(i / this.width); }
  colOf(i) { return i % this.width; }
  inside(row, col) {
    return row >= 0 && col >= 0 && row < this.height && col < this.width;
  }
  isOpen(i) { return i >= 0 && i < this.cells.length && !this.cells[i].block; }
  // The square the block rule pairs with `i`: turned half a circle.
  twin(i) { return this.cells.length - 1 - i; }
  step(direction) { return direction === ACROSS ? 1 : this.width; }

  // Numbers the slots (see board_core.js).
  number() {
    const numbered = core.number(this.width, this.height, (i) => this.cells[i].block);
    this.numbers = numbered.numbers;
    this.slots = numbered.slots;
    this.slotOf = numbered.slotOf;
  }

  // The slot through square `i` in `direction`, or null on a block.
  slotAt(i, direction) {
    const k = this.isOpen(i) ? this.slotOf[direction][i] : -1;
    return k < 0 ? null : this.slots[direction][k];
  }

  // The slot's word when every square holds a letter, else ''.
  wordOf(slot) {
    const letters = slot.cells.map((i) => this.cells[i].letter);
    return letters.every((l) => l !== '') ? letters.join('') : '';
  }

  isFull() { return this.cells.every((c) => c.block || c.letter !== ''); }

  // The squares of the rows, for joining into pattern rows: '#', '' or the
  // letter; `authorOnly` leaves out the machine's letters.
  squares(authorOnly = false) {
    const rows = [];
    for (let row = 0; row < this.height; row++) {
      const squares = [];
      for (let col = 0; col < this.width; col++) {
        const c = this.cells[this.index(row, col)];
        squares.push(c.block ? '#' : authorOnly && c.machine ? '' : c.letter);
      }
      rows.push(squares);
    }
    return rows;
  }
}

// The edits of one grid, each undoable: an edit is a function that changes
// a copy of the grid; the history keeps the grids before and after.
export class History {
  constructor(grid) {
    this.grid = grid;
    this.done = [];
    this.undone = [];
  }

  // Applies `edit` (which changes the grid it is given and returns false
  // when it changed nothing) as one undoable step; true when it changed.
  apply(edit) {
    const next = this.grid.copy();
    if (edit(next) === false) return false;
    next.number();
    this.done.push(this.grid);
    if (this.done.length > 500) this.done.shift();
    this.undone = [];
    this.grid = next;
    return true;
  }

  // Replaces the grid with `grid` as one undoable step.
  replace(grid) {
    return this.apply((g) => {
      g.width = grid.width;
      g.height = grid.height;
      g.cells = grid.cells.map((c) => ({...c}));
    });
  }

  canUndo() { return this.done.length > 0; }
  canRedo() { return this.undone.length > 0; }

  undo() {
    if (!this.canUndo()) return false;
    this.undone.push(this.grid);
    this.grid = this.done.pop();
    return true;
  }

  redo() {
    if (!this.canRedo()) return false;
    this.done.push(this.grid);
    this.grid = this.undone.pop();
    return true;
  }
}
