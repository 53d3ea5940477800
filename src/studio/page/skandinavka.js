// A skandinavka in the studio: the kind and the templates of a new grid,
// which clue square serves which word (the server's layout, asked after
// every change of the blocks) drawn as arrows, the clues typed into their
// squares and shown as they will print (broken into lines by the server),
// the panel of clues by square and the refusal of a pattern without a
// layout. The clue of a word is its clue in `app.clueOf`, as in a classic
// grid. Every clue goes on the page as text, never as markup.
import {post} from './api.js';
import {ACROSS, DIRECTION_NAMES, DOWN, Grid} from './grid.js';
import {addTexts, count, t} from './texts.js';

const $ = (id) => document.getElementById(id);

// What a clue square holds as printed: CLUE_LINES lines of at most
// CLUE_CHARS characters, for its one clue or its two together, as
// polimreza-export prints them (the server breaks the lines).
export const CLUE_CHARS = 9;
export const CLUE_LINES = 5;

addTexts({
  'sr-Latn': {
    kind: 'Vrsta',
    kindClassic: 'klasična',
    kindSkandinavka: 'skandinavka',
    layout: 'Raspored',
    layoutEdges: 'opisi u gornjem redu i levoj koloni',
    layoutTop: 'opisi naizmenično uz gornju ivicu',
    skClues: 'Opisi po poljima',
    skSquare: 'Polje za opis ({0},{1})',
    skClueLabel: 'Opis reči na mestu ({0},{1}) {2}',
    skTooLong: 'Ne staje u {0} po {1} znakova.',
    skLines: ['{0} red', '{0} reda', '{0} redova'],
    skRefusedWord: 'Reč na mestu ({0},{1}) {2} nema polje za opis.',
    skRefusedSquare: 'Polje ({0},{1}) ne pripada nijednoj reči.',
    skHelp: 'Klik na crno polje otvara njegove opise ispod mreže; strelica u polju pokazuje ' +
      'reč koju opis opisuje.',
  },
  'sr-Cyrl': {
    kind: 'Врста',
    kindClassic: 'класична',
    kindSkandinavka: 'скандинавка',
    layout: 'Распоред',
    layoutEdges: 'описи у горњем реду и левој колони',
    layoutTop: 'описи наизменично уз горњу ивицу',
    skClues: 'Описи по пољима',
    skSquare: 'Поље за опис ({0},{1})',
    skClueLabel: 'Опис речи на месту ({0},{1}) {2}',
    skTooLong: 'Не стаје у {0} по {1} знакова.',
    skLines: ['{0} ред', '{0} реда', '{0} редова'],
    skRefusedWord: 'Реч на месту ({0},{1}) {2} нема поље за опис.',
    skRefusedSquare: 'Поље ({0},{1}) не припада ниједној речи.',
    skHelp: 'Клик на црно поље отвара његове описе испод мреже; стрелица у пољу показује ' +
      'реч коју опис описује.',
  },
  'en': {
    kind: 'Kind',
    kindClassic: 'classic',
    kindSkandinavka: 'arrowword (skandinavka)',
    layout: 'Layout',
    layoutEdges: 'clues in the top row and left column',
    layoutTop: 'clues in every other square along the top',
    skClues: 'Clues by square',
    skSquare: 'Clue square ({0},{1})',
    skClueLabel: 'Clue of the word at ({0},{1}) {2}',
    skTooLong: 'Does not fit {0} of {1} characters.',
    skLines: ['{0} line', '{0} lines', '{0} lines'],
    skRefusedWord: 'The word at ({0},{1}) {2} has no clue square.',
    skRefusedSquare: 'Square ({0},{1}) belongs to no word.',
    skHelp: 'A click on a black square opens its clues below the grid; the arrow in a square ' +
      'points to the word its clue defines.',
  },
});

// The arrow drawn in a word's first square: straight from the square
// before it, or bent from the square beside it.
const ARROWS = {
  'across-straight': '→', 'down-straight': '↓',
  'across-bent': '↳',  // from the square above: down, then right
  'down-bent': '↴',  // from the square on the left: right, then down
};

let app = null;
let hooks = null;  // {save(word, clue), select(i), changed()}
const state = {
  key: '',  // the blocks the layout below is for
  clues: [],  // [{start, direction, square, bent}] in the server's order
  refusal: null,  // {start, direction} or {square}, both as indexes
  asked: '',  // the blocks last asked about
  ticket: 0,
  lines: new Map(),  // clue text -> {lines, fits, max}
  editor: '',  // what the editor shows: its square and words
};

export function isSkandinavka() { return !!app && app.kind === 'skandinavka'; }

// Whether an inner clue square of a width x height template stands at
// (row, col): a diagonal lattice, one square in five along each row and
// column, none touching another, none in the second row or column or the
// last, so that every open square stays in a word of two letters or more.
function innerClue(width, height, row, col) {
  return row >= 2 && col >= 2 && row <= height - 2 && col <= width - 2 &&
    (2 * row + col) % 5 === 0;
}

// A new skandinavka of `width` x `height`: with `layout` 'edges' the top
// row and the left column are clue squares; with 'top' every other square
// along the top row and the left column is, each serving two words with
// bent arrows. Inner clue squares are spread as an author would start.
export function templateGrid(width, height, layout) {
  const grid = new Grid(width, height);
  grid.cells.forEach((cell, i) => {
    const row = grid.rowOf(i), col = grid.colOf(i);
    const edge = layout === 'top' ? (row === 0 && col % 2 === 0) || (col === 0 && row % 2 === 0)
      : row === 0 || col === 0;
    cell.block = edge || innerClue(width, height, row, col);
  });
  grid.number();
  return grid;
}

// The grid "Nova mreža" makes with the kind and layout chosen; sets the
// page's kind.
export function newGridOf(width, height) {
  const kind = $('kind').value === 'skandinavka' ? 'skandinavka' : 'classic';
  setKind(kind);
  if (kind === 'classic') return new Grid(width, height);
  $('symmetry').checked = false;
  app.board.symmetry = false;
  return templateGrid(width, height, $('layout').value);
}

function setKind(kind) {
  app.kind = kind;
  $('kind').value = kind;
  state.key = '';
  state.asked = '';
  state.clues = [];
  state.refusal = null;
  state.editor = '';
  showKind();
}

// Shows or hides what belongs to one kind only.
function showKind() {
  const sk = isSkandinavka();
  $('layout-field').hidden = $('kind').value !== 'skandinavka';
  $('sk-panel').hidden = !sk;
  $('sk-help').hidden = !sk;
  document.querySelector('.clue-lists').hidden = sk;
  if (!sk) {
    $('sk-editor').hidden = true;
    $('sk-refusal').hidden = true;
  }
}

// The words of `grid` whose clue the save keeps by square: each full word
// of two letters or more with a clue, as /api/save takes "squareClues".
export function squareCluesOf(grid, clueOf) {
  const clues = [];
  for (const direction of [ACROSS, DOWN]) {
    for (const slot of grid.slots[direction]) {
      const word = slot.cells.length > 1 ? grid.wordOf(slot) : '';
      const clue = word ? clueOf.get(word) || '' : '';
      if (clue) {
        clues.push({row: slot.row, col: slot.col, direction: DIRECTION_NAMES[direction], clue});
      }
    }
  }
  return clues;
}

// Takes the kind and clues of an opened puzzle or working copy (`reply`)
// for `grid`, before the page shows it.
export function loadKind(reply, grid) {
  setKind(reply.kind === 'skandinavka' ? 'skandinavka' : 'classic');
  for (const item of Array.isArray(reply.squareClues) ? reply.squareClues : []) {
    if (!item || typeof item.clue !== 'string' || item.clue === '') continue;
    const direction = item.direction === 'down' ? DOWN : ACROSS;
    if (!grid.inside(item.row, item.col)) continue;
    const start = grid.index(item.row, item.col);
    const slot = grid.slotAt(start, direction);
    const word = slot && slot.cells[0] === start ? grid.wordOf(slot) : '';
    if (word) app.clueOf.set(word, item.clue);
  }
}

// The blocks of the grid, which alone decide the layout.
function blocksKey(grid) {
  return grid.width + ':' + grid.cells.map((c) => (c.block ? '#' : '.')).join('');
}

// The layout's clues with the grid's slots: [{slot, square, bent}]; none
// while the layout is for other blocks.
function entries() {
  const grid = app.history.grid;
  if (!isSkandinavka() || state.key !== blocksKey(grid)) return [];
  return state.clues.map((c) => ({slot: grid.slotAt(c.start, c.direction), start: c.start,
    square: c.square, bent: c.bent})).filter((e) => e.slot && e.slot.cells[0] === e.start);
}

function bySquare(list) {
  const squares = new Map();
  for (const entry of list) {
    if (!squares.has(entry.square)) squares.set(entry.square, []);
    squares.get(entry.square).push(entry);
  }
  return new Map([...squares].sort((a, b) => a[0] - b[0]));
}

const wordOf = (entry) => app.history.grid.wordOf(entry.slot);
const clueOf = (entry) => { const w = wordOf(entry); return w ? app.clueOf.get(w) || '' : ''; };
const arrowOf = (entry) => ARROWS[DIRECTION_NAMES[entry.slot.direction] +
  (entry.bent ? '-bent' : '-straight')];

// "(C,R)" values of square `i`, counted from 1: column, row.
function place(i) {
  const grid = app.history.grid;
  return [grid.colOf(i) + 1, grid.rowOf(i) + 1];
}

function element(tag, className, text) {
  const e = document.createElement(tag);
  if (className) e.className = className;
  if (text !== undefined) e.textContent = text;
  return e;
}

// Asks the server for the layout when the blocks changed since it last
// answered; then redraws what shows it.
export async function askLayout() {
  if (!isSkandinavka()) return;
  const grid = app.history.grid;
  const key = blocksKey(grid);
  if (key === state.asked) return;
  state.asked = key;
  const ticket = ++state.ticket;
  try {
    const reply = await post('clue-squares', {rows: grid.squares().map((r) =>
      app.alphabet.joinRow(r))});
    if (ticket !== state.ticket) return;
    const index = (r, c) => grid.index(r, c);
    state.clues = (reply.clues || []).map((c) => ({start: index(c.row, c.col),
      direction: c.direction === 'down' ? DOWN : ACROSS, square: index(c.square[0], c.square[1]),
      bent: !!c.bent}));
    const refusal = reply.refusal;
    state.refusal = !refusal ? null : refusal.word
      ? {start: index(refusal.word.row, refusal.word.col),
        direction: refusal.word.direction === 'down' ? DOWN : ACROSS}
      : {square: index(refusal.square[0], refusal.square[1])};
    state.key = key;
    update();
  } catch (e) {
    if (ticket === state.ticket) state.asked = '';
    hooks.failed(e);
  }
}

// Asks the server how each clue text not asked yet breaks into a clue
// square's lines, then redraws.
async function askLines(texts) {
  const missing = new Map();
  for (const text of texts) {
    if (text && !state.lines.has(text)) missing.set(text, {clue: text});
  }
  if (!missing.size) return;
  try {
    const reply = await post('clue-lines', {clues: [...missing.values()]});
    const keys = [...missing.keys()];
    (reply.lines || []).forEach((broken, k) => state.lines.set(keys[k], broken));
    update(false);
  } catch (e) { hooks.failed(e); }
}

// The clues of the layout as askLines takes them.
function layoutClues() {
  const list = [];
  for (const served of bySquare(entries()).values()) {
    for (const entry of served) list.push(clueOf(entry));
  }
  return list;
}

// Redraws the arrows and clues on the grid, the panel and the editor;
// `ask` asks for the lines of clues not broken yet.
export function update(ask = true) {
  showKind();
  if (!app.board) return;
  decorate();
  if (!isSkandinavka()) return;
  showRefusal();
  showPanel();
  showEditor();
  if (ask) askLines(layoutClues());
}

// Why the grid as it is has no layout, in the page's words; '' when it has
// one or the server has not answered for these blocks yet.
export function refusalText() {
  const refusal = state.refusal;
  if (!isSkandinavka() || !refusal || state.key !== blocksKey(app.history.grid)) return '';
  return refusal.start !== undefined
    ? t('skRefusedWord', ...place(refusal.start),
      t(refusal.direction === ACROSS ? 'acrossWord' : 'downWord'))
    : t('skRefusedSquare', ...place(refusal.square));
}

function showRefusal() {
  const line = $('sk-refusal');
  line.textContent = refusalText();
  line.hidden = line.textContent === '';
}

// The lines a clue shows as printed (the text itself until the server
// broke it) and whether it fits.
function broken(text) {
  return state.lines.get(text) || {lines: text ? [text] : [], fits: true};
}

// Whether the clue texts of one square fit it: CLUE_LINES lines for them
// all.
function squareFits(texts) {
  let lines = 0;
  for (const text of texts) {
    const shown = broken(text);
    if (!shown.fits) return false;
    lines += shown.lines.length;
  }
  return lines <= CLUE_LINES;
}

// Draws the layout into the board's squares (called after each draw):
// the clues in their squares, an arrow in each word's first square, the
// words of the clue square at the cursor and the square a refusal names.
export function decorate() {
  const board = app.board;
  board.table.classList.toggle('skandinavka', isSkandinavka());
  board.shortestWord = isSkandinavka() ? 2 : 1;
  board.table.querySelectorAll('.sk').forEach((e) => e.remove());
  if (!isSkandinavka()) return;
  const grid = app.history.grid;
  const list = entries();
  for (const [square, served] of bySquare(list)) {
    if (!grid.cells[square].block) continue;
    const box = element('div', 'sk sk-text' + (served.length > 1 ? ' two' : ''));
    const fits = squareFits(served.map(clueOf));
    for (const entry of served) {
      const shown = broken(clueOf(entry));
      const part = element('div', 'sk-clue' + (fits ? '' : ' over'));
      for (const line of shown.lines) part.append(element('div', 'sk-line', line));
      box.append(part);
    }
    board.cells[square].append(box);
  }
  for (const entry of list) {
    const kind = DIRECTION_NAMES[entry.slot.direction] + (entry.bent ? '-bent' : '-straight');
    board.cells[entry.slot.cells[0]].append(element('span', 'sk sk-arrow ' + kind, ARROWS[kind]));
  }
  for (const entry of list.filter((e) => e.square === board.current)) {
    for (const i of entry.slot.cells) board.cells[i].append(element('span', 'sk sk-served'));
  }
  const refusal = state.refusal;
  if (refusal && state.key === blocksKey(grid)) {
    const i = refusal.start !== undefined ? refusal.start : refusal.square;
    board.cells[i].append(element('span', 'sk sk-refused'));
  }
}

// One word's line: its arrow and its word, or its length while not full.
function wordLabel(entry) {
  return arrowOf(entry) + ' ' + (wordOf(entry) || '(' + entry.slot.cells.length + ')');
}

// The panel: every clue square in reading order with its words and clues;
// a click goes to the square.
function showPanel() {
  const ol = $('sk-list');
  ol.replaceChildren();
  for (const [square, served] of bySquare(entries())) {
    const li = element('li', square === app.board.current ? 'active' : '');
    li.dataset.square = String(square);
    const head = element('button', 'sk-where', '(' + place(square).join(',') + ')');
    head.type = 'button';
    head.addEventListener('click', () => hooks.select(square));
    li.append(head);
    const fits = squareFits(served.map(clueOf));
    for (const entry of served) {
      const text = clueOf(entry);
      const row = element('div', 'sk-entry' + (fits ? '' : ' over'));
      row.append(element('span', 'sk-word', wordLabel(entry)), ' ',
        element('span', 'sk-clue-text', text));
      li.append(row);
    }
    ol.append(li);
  }
}

// The editor under the grid while the cursor is on a clue square: a field
// for the clue of each word it serves, the clue as it will print, and a
// warning when it does not fit the square.
function showEditor() {
  const editor = $('sk-editor');
  const square = app.board.current;
  const served = entries().filter((e) => e.square === square);
  editor.hidden = served.length === 0;
  if (editor.hidden) { state.editor = ''; return; }
  const shown = square + '/' + served.map((e) => e.slot.cells[0] + ':' + e.slot.direction + ':' +
    wordOf(e)).join('/');
  if (shown !== state.editor) buildEditor(square, served);
  state.editor = shown;
  served.forEach((entry, k) => {
    const input = $('sk-input-' + k);
    if (document.activeElement !== input) input.value = clueOf(entry);
  });
  showPreviews(served.length);
}

function buildEditor(square, served) {
  $('sk-square').textContent = t('skSquare', ...place(square));
  const fields = $('sk-fields');
  fields.replaceChildren();
  served.forEach((entry, k) => {
    const word = wordOf(entry);
    const row = element('div', 'sk-field');
    const label = element('label', 'sk-word', wordLabel(entry));
    const input = element('input', 'sk-input');
    input.type = 'text';
    input.id = 'sk-input-' + k;
    input.autocomplete = 'off';
    input.disabled = !word;
    input.placeholder = word ? '' : '(' + entry.slot.cells.length + ')';
    input.setAttribute('aria-label', t('skClueLabel', ...place(entry.slot.cells[0]),
      t(entry.slot.direction === ACROSS ? 'acrossWord' : 'downWord')));
    label.htmlFor = input.id;
    let timer = 0;
    input.addEventListener('input', () => {
      clearTimeout(timer);
      timer = setTimeout(() => {
        showPreviews(served.length);
        askLines([input.value]);
      }, 150);
    });
    input.addEventListener('change', async () => {
      await hooks.save(word, input.value);
      update();
    });
    input.addEventListener('keydown', (event) => {
      if (event.key === 'Escape') { event.preventDefault(); hooks.select(square); }
    });
    const preview = element('div', 'sk-preview');
    preview.id = 'sk-preview-' + k;
    const warning = element('p', 'warning sk-warning');
    warning.id = 'sk-warning-' + k;
    row.append(label, input, preview, warning);
    fields.append(row);
  });
}

// Shows the editor's `fields` clues as they will print, with a warning
// under each when the square's clues do not fit it.
function showPreviews(fields) {
  const texts = [];
  for (let k = 0; k < fields; ++k) texts.push($('sk-input-' + k).value);
  const fits = squareFits(texts);
  texts.forEach((text, k) => {
    const shown = broken(text);
    const preview = $('sk-preview-' + k);
    preview.replaceChildren(...shown.lines.map((line) => element('div', 'sk-line', line)));
    preview.hidden = shown.lines.length === 0;
    const warning = $('sk-warning-' + k);
    warning.textContent = fits ? '' : t('skTooLong', count('skLines', CLUE_LINES), CLUE_CHARS);
    warning.hidden = fits;
  });
}

// Joins the page: `page` is the studio's shared state (state.js's app),
// `events` {save(word, clue), select(i), failed(error)}.
export function setupSkandinavka(page, events) {
  app = page;
  hooks = events;
  app.kind = 'classic';
  $('kind').addEventListener('change', showKind);
  // Enter on a clue square goes to its first clue's field.
  app.board.table.addEventListener('keydown', (event) => {
    if (event.key !== 'Enter' || !isSkandinavka() || $('sk-editor').hidden) return;
    const input = $('sk-fields').querySelector('input:not(:disabled)');
    if (input) { event.preventDefault(); input.focus(); }
  });
  showKind();
}
