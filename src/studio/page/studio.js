// The studio's page: builds a crossword with the author, asks the server
// what fits, checks, fills, keeps clues, saves, opens and exports.
import {ApiError, get, post} from './api.js';
import {Board} from './board.js';
import {ACROSS, DIRECTION_NAMES, Grid, History} from './grid.js';
import {Alphabet} from './letters.js';
import {cluesOf, countText, markClues, refreshClues, say, showClues, showWords}
  from './panels.js';

const $ = (id) => document.getElementById(id);

const STATUS_TEXT = {
  filled: 'Mreza je popunjena.',
  impossible: 'Mreza se ne moze popuniti.',
  timeout: 'Vreme je isteklo; upisano je koliko je popunjeno.',
  stopped: 'Popunjavanje je zaustavljeno; upisano je koliko je popunjeno.',
};

let alphabet = null;
let history = null;
let board = null;
let maxSize = 100;
let maxSlot = 9;  // the longest slot the lists have words for
const clueOf = new Map();  // the clue of each word, as shown and saved
let filling = false;
let progressTimer = 0;

// Replies to requests sent before the latest of their kind are dropped.
const latest = {check: 0, candidates: 0, clues: 0, search: 0};
function debounce(fn, ms) {
  let timer = 0;
  return () => { clearTimeout(timer); timer = setTimeout(fn, ms); };
}

function rows(authorOnly = false) {
  return history.grid.squares(authorOnly).map((r) => alphabet.joinRow(r));
}

// The first slot longer than the lists' longest words, or null: the server
// refuses such a grid, so the page asks nothing about it and says why.
function longSlot() {
  for (const slots of history.grid.slots) {
    const slot = slots.find((s) => s.cells.length > maxSlot);
    if (slot) return slot;
  }
  return null;
}

function fail(error) {
  say(error instanceof ApiError ? error.message : String(error), true);
}

// Everything that follows an edit: marks, clues, buttons, what fits.
function afterEdit() {
  updateButtons();
  showClues(history.grid, clueOf, {go: goToSlot, save: saveClue});
  markClues(history.grid, board.current, board.direction);
  scheduleCheck();
  scheduleClues();
  scheduleCandidates();
}

function afterMove() {
  showCurrent();
  markClues(history.grid, board.current, board.direction);
  scheduleCandidates();
}

function updateButtons() {
  $('undo').disabled = !history.canUndo();
  $('redo').disabled = !history.canRedo();
  $('export').disabled = !history.grid.isFull();
  for (const id of ['fill', 'fill-region', 'fill-another']) $(id).disabled = filling;
  $('stop').disabled = !filling;
}

function showCurrent() {
  const grid = history.grid;
  const slot = grid.slotAt(board.current, board.direction);
  const text = $('current');
  const wordLine = $('slot-word');
  const exclude = $('exclude-current');
  if (!slot) {
    text.textContent = '';
    wordLine.textContent = '';
    exclude.hidden = true;
    return;
  }
  const word = grid.wordOf(slot);
  text.textContent = slot.number + ' ' + (slot.direction === ACROSS ? 'vodoravno' : 'uspravno') +
    ' (' + slot.cells.length + ')' + (word ? ': ' + word : '');
  wordLine.textContent = word ? word : '';
  exclude.hidden = !word;
  exclude.dataset.word = word;
}

function goToSlot(slot, quiet = false) {
  const empty = slot.cells.find((i) => history.grid.cells[i].letter === '');
  const cell = empty === undefined ? slot.cells[0] : empty;
  if (quiet) {
    board.current = cell;
    board.direction = slot.direction;
    board.anchor = -1;
    board.draw();
    afterMove();
  } else {
    board.select(cell, slot.direction);
  }
}

// The count of what fits the current slot (the last reply, or null). With
// a slot that nothing fills any more no word fits anywhere, so the count
// says where the trouble is.
let fitsCount = null;
function showFitsCount() {
  if (!fitsCount) return;
  $('fits-count').textContent = countText(fitsCount.count, fitsCount.exact) +
    (fitsCount.count === 0 && board.dead.size
      ? ': crvena rec mreze se ne moze popuniti' : '');
}

const scheduleCheck = debounce(async () => {
  const ticket = ++latest.check;
  if (longSlot()) {
    if (board.dead.size) { board.dead = new Set(); board.draw(); }
    return;
  }
  try {
    const reply = await post('check', {rows: rows()});
    if (ticket !== latest.check) return;
    board.dead = new Set((reply.squares || []).map(([r, c]) => history.grid.index(r, c)));
    board.draw();
    showFitsCount();
  } catch (e) {
    if (ticket === latest.check) fail(e);
  }
}, 150);

// What fits is asked for in steps: the first list holds what the panel shows
// at once and comes back quickly even with long lists (the server tests each
// word with the grid's crossings); "Prikazi jos" asks again with the next
// limit, up to the server's most.
const FITS_LIMITS = [50, 200, 1000];

// Asks what fits the cursor's slot, at most FITS_LIMITS[step] words, and
// shows it with a "Prikazi jos" button when more may fit.
async function askCandidates(step) {
  const ticket = ++latest.candidates;
  const grid = history.grid;
  const slot = grid.slotAt(board.current, board.direction);
  const list = $('fits');
  const more = $('fits-more');
  more.hidden = true;
  if (step === 0) fitsCount = null;
  // A single square between blocks is numbered but is no word to fill.
  if (!slot || slot.cells.length < 2) {
    list.replaceChildren();
    $('fits-count').textContent = '';
    return;
  }
  const long = longSlot();
  if (long) {
    list.replaceChildren();
    $('fits-count').textContent = 'Rec ' + long.number + ' ' +
      (long.direction === ACROSS ? 'vodoravno' : 'uspravno') + ' ima ' + long.cells.length +
      ' slova, a spiskovi najvise ' + maxSlot + ': dodajte crna polja.';
    return;
  }
  const limit = FITS_LIMITS[step];
  try {
    const reply = await post('candidates', {rows: rows(), row: slot.row, col: slot.col,
      direction: DIRECTION_NAMES[slot.direction], limit});
    if (ticket !== latest.candidates) return;
    fitsCount = reply;
    showFitsCount();
    const words = reply.words || [];
    showWords(list, words, (word) => place(slot, word), excludeWord);
    if (words.length === limit && reply.count > limit && step + 1 < FITS_LIMITS.length) {
      more.onclick = () => askCandidates(step + 1);
      more.hidden = false;
    }
  } catch (e) {
    if (ticket !== latest.candidates) return;
    list.replaceChildren();
    $('fits-count').textContent = '';
    fail(e);
  }
}

const scheduleCandidates = debounce(() => askCandidates(0), 150);

// Asks for the clues of full slots' words not known yet.
const scheduleClues = debounce(async () => {
  const grid = history.grid;
  const words = new Set();
  for (const slots of grid.slots) {
    for (const slot of slots) {
      const word = grid.wordOf(slot);
      if (word && !clueOf.has(word)) words.add(word);
    }
  }
  if (words.size === 0) return;
  const ticket = ++latest.clues;
  try {
    const reply = await post('clues', {words: [...words]});
    if (ticket !== latest.clues) return;
    for (const [word, clue] of Object.entries(reply.clues || {})) {
      if (!clueOf.has(word)) clueOf.set(word, clue);
    }
    refreshClues(clueOf);
  } catch (e) {
    if (ticket === latest.clues) fail(e);
  }
}, 150);

// Places `word` in `slot` as the author's letters.
function place(slot, word) {
  const squares = alphabet.splitWord(word, slot.cells.length);
  if (!squares) { say('Rec ' + word + ' ne staje u ovu rec mreze.', true); return; }
  board.edit((g) => {
    slot.cells.forEach((i, k) => { g.cells[i].letter = squares[k]; g.cells[i].machine = false; });
  });
  board.focus();
}

async function saveClue(word, clue) {
  if (!word) return;
  try {
    await post('clue', {word, clue});
    clueOf.set(word, clue);
    say('Opis za ' + word + ' je sacuvan.');
  } catch (e) { fail(e); }
}

async function excludeWord(word) {
  try {
    const reply = await post('exclude', {word});
    // The machine's letters of every slot holding the word go; the author's
    // stay.
    const grid = history.grid;
    board.edit((g) => {
      let changed = false;
      for (const slots of grid.slots) {
        for (const slot of slots) {
          if (grid.wordOf(slot) !== word) continue;
          for (const i of slot.cells) {
            if (g.cells[i].machine && g.cells[i].letter) {
              g.cells[i].letter = '';
              g.cells[i].machine = false;
              changed = true;
            }
          }
        }
      }
      return changed;
    });
    say('Rec ' + word + ' je izbacena (izbaceno ukupno: ' + reply.excluded + ').');
    scheduleCandidates();
  } catch (e) { fail(e); }
}

// Runs a fill; `region` as the API takes it, or undefined for the grid.
async function fill(region, another) {
  if (filling) return;
  const keep = $('keep-machine').checked;
  const sent = history.grid;
  const body = {rows: rows(!keep), timeLimit: Number($('time-limit').value) || 30, another};
  if (region) body.region = region;
  filling = true;
  updateButtons();
  $('progress').textContent = 'Popunjavam...';
  progressTimer = setInterval(pollProgress, 250);
  try {
    const reply = await post('fill', body);
    // An edit that changed the grid's size while the fill ran wins.
    const same = history.grid.width === sent.width && history.grid.height === sent.height;
    if (same && reply.status !== 'impossible' && Array.isArray(reply.rows)) {
      const machine = new Set((reply.machine || []).map(([r, c]) => sent.index(r, c)));
      const squares = reply.rows.map((r) => alphabet.splitRow(r));
      board.edit((g) => {
        g.cells.forEach((cell, i) => {
          if (cell.block) return;
          const letter = squares[sent.rowOf(i)][sent.colOf(i)];
          if (machine.has(i)) {
            cell.letter = letter;
            cell.machine = letter !== '';
          } else if (cell.machine && !keep) {
            cell.letter = '';
            cell.machine = false;
          }
        });
      });
    }
    for (const w of reply.words || []) {
      if (w.clue !== undefined && !clueOf.has(w.word)) clueOf.set(w.word, w.clue);
    }
    refreshClues(clueOf);
    const seconds = typeof reply.seconds === 'number' ? ' (' + reply.seconds.toFixed(1) + ' s)' : '';
    say((STATUS_TEXT[reply.status] || reply.status) + seconds, reply.status === 'impossible');
  } catch (e) {
    fail(e);
  } finally {
    filling = false;
    clearInterval(progressTimer);
    $('progress').textContent = '';
    updateButtons();
  }
}

async function pollProgress() {
  try {
    const p = await get('progress');
    if (!filling) return;
    if (p.running) {
      $('progress').textContent = 'Popunjavam: ' + p.filled + ' od ' + p.slots +
        ' reci, ' + p.nodes + ' koraka, ' + Number(p.seconds).toFixed(1) + ' s';
    }
  } catch (e) { /* the fill's own reply reports failures */ }
}

function fillRegion() {
  const rect = board.selection();
  if (rect) { fill(rect, false); return; }
  const slot = history.grid.slotAt(board.current, board.direction);
  if (!slot) { say('Izaberite rec ili oznacite pravougaonik.', true); return; }
  fill({row: slot.row, col: slot.col, direction: DIRECTION_NAMES[slot.direction]}, false);
}

function newGrid() {
  const width = Number($('width').value), height = Number($('height').value);
  if (!Number.isInteger(width) || !Number.isInteger(height) || width < 1 || height < 1 ||
      width > maxSize || height > maxSize) {
    say('Sirina i visina moraju biti od 1 do ' + maxSize + '.', true);
    return;
  }
  history.replace(new Grid(width, height));
  board.current = 0;
  board.direction = ACROSS;
  board.anchor = -1;
  board.dead = new Set();
  board.draw();
  afterEdit();
  afterMove();
  board.focus();
}

async function search() {
  const ticket = ++latest.search;
  const pattern = alphabet.upper($('pattern').value.trim());
  try {
    const reply = await post('search', {pattern, limit: 200});
    if (ticket !== latest.search) return;
    $('search-count').textContent = countText(reply.count, reply.exact);
    showWords($('search-results'), reply.words || [], (word) => {
      const slot = history.grid.slotAt(board.current, board.direction);
      if (slot) place(slot, word);
    });
  } catch (e) {
    if (ticket === latest.search) fail(e);
  }
}

// The fields save and export send.
function document_() {
  return {rows: rows(),
    author: history.grid.squares(true).map((r) => alphabet.joinRow(r)),
    title: $('title').value, author_name: $('author-name').value,
    clues: cluesOf(history.grid, clueOf)};
}

// Asks for a file name in the page's dialog, then runs `send(name,
// overwrite)` and shows the text it returns; a 409 "exists" asks whether
// to replace.
function askName(question, suggestion, send) {
  const dialog = $('name-dialog');
  const input = $('name-input');
  const exists = $('name-exists');
  $('name-question').textContent = question;
  input.value = suggestion;
  exists.hidden = true;
  $('name-ok').textContent = 'U redu';
  let overwrite = false;
  $('name-form').onsubmit = async (event) => {
    event.preventDefault();
    const name = input.value.trim();
    if (!name) return;
    try {
      const done = await send(name, overwrite);
      dialog.close();
      say(done);
    } catch (e) {
      if (e instanceof ApiError && e.status === 409 && e.data.exists) {
        exists.hidden = false;
        overwrite = true;
        $('name-ok').textContent = 'Zameni';
      } else {
        dialog.close();
        fail(e);
      }
    }
  };
  input.oninput = () => {
    overwrite = false;
    exists.hidden = true;
    $('name-ok').textContent = 'U redu';
  };
  dialog.showModal();
  input.focus();
}

function baseName() {
  const title = $('title').value.trim();
  return title ? title.replace(/[/\\]/g, '-').replace(/^\.+/, '') : 'ukrstenica';
}

function saveFile() {
  askName('Ime fajla (.ipuz):', baseName() + '.ipuz', async (name, overwrite) => {
    if (!name.toLowerCase().endsWith('.ipuz')) name += '.ipuz';
    const reply = await post('save', {name, ...document_(), overwrite});
    return 'Sacuvano: ' + reply.saved;
  });
}

function exportFiles() {
  if (!history.grid.isFull()) { say('Mreza nije popunjena.', true); return; }
  askName('Ime za izvoz (bez nastavka):', baseName(), async (name, overwrite) => {
    const reply = await post('export', {name, ...document_(), overwrite});
    return 'Izvezeno: ' + (reply.written || []).join(', ');
  });
}

async function openFiles() {
  let reply;
  try { reply = await get('files'); } catch (e) { fail(e); return; }
  const list = $('files');
  list.replaceChildren();
  if (!reply.files || reply.files.length === 0) {
    const li = document.createElement('li');
    li.textContent = 'Nema ipuz fajlova u folderu.';
    list.append(li);
  }
  for (const name of reply.files || []) {
    const li = document.createElement('li');
    const button = document.createElement('button');
    button.type = 'button';
    button.textContent = name;
    button.addEventListener('click', () => { $('open-dialog').close(); openFile(name); });
    li.append(button);
    list.append(li);
  }
  $('open-dialog').showModal();
}

async function openFile(name) {
  try {
    const reply = await post('open', {name});
    const squares = reply.rows.map((r) => alphabet.splitRow(r));
    const author = (reply.author || reply.rows).map((r) => alphabet.splitRow(r));
    const machine = new Set();
    squares.forEach((row, r) => row.forEach((value, c) => {
      if (value !== '#' && value !== '' && (author[r] || [])[c] !== value) {
        machine.add(r * row.length + c);
      }
    }));
    const grid = Grid.fromSquares(squares, machine);
    const clues = reply.clues || {};
    [[0, clues.across || []], [1, clues.down || []]].forEach(([d, list]) => {
      grid.slots[d].forEach((slot, k) => {
        const word = grid.wordOf(slot);
        if (word && typeof list[k] === 'string') clueOf.set(word, list[k]);
      });
    });
    $('title').value = reply.title || '';
    $('author-name').value = reply.author_name || '';
    $('width').value = String(grid.width);
    $('height').value = String(grid.height);
    history.replace(grid);
    board.current = 0;
    board.anchor = -1;
    board.dead = new Set();
    board.draw();
    afterEdit();
    afterMove();
    say('Otvoreno: ' + name);
  } catch (e) { fail(e); }
}

function onGlobalKey(event) {
  if (!(event.ctrlKey || event.metaKey) || event.altKey) return;
  const key = event.key.toLowerCase();
  const inText = event.target.matches &&
    event.target.matches('input[type=text], input:not([type]), textarea') &&
    !event.target.closest('#grid');
  if (inText) return;  // a text field keeps its own undo
  if (key === 'z' && !event.shiftKey) { event.preventDefault(); undo(); }
  else if (key === 'y' || (key === 'z' && event.shiftKey)) { event.preventDefault(); redo(); }
}

function undo() {
  if (!history.undo()) return;
  board.draw();
  afterEdit();
  afterMove();
}

function redo() {
  if (!history.redo()) return;
  board.draw();
  afterEdit();
  afterMove();
}

async function start() {
  let info;
  try {
    info = await get('info');
  } catch (e) {
    fail(e);
    return;
  }
  alphabet = new Alphabet(info.letters || [], info.script);
  maxSize = info.maxSize || 100;
  if (Array.isArray(info.lists) && info.lists.length) maxSlot = info.lists.length;
  for (const id of ['width', 'height']) $(id).max = String(maxSize);
  if (info.loopback === false) {
    $('banner-host').textContent = info.host || '';
    $('banner').hidden = false;
  }
  history = new History(new Grid(13, 13));
  board = new Board($('grid'), history, alphabet, {edited: afterEdit, moved: afterMove});
  board.draw();
  $('new-grid').addEventListener('click', newGrid);
  $('undo').addEventListener('click', undo);
  $('redo').addEventListener('click', redo);
  $('block').addEventListener('click', () => { board.toggleBlock(board.current); board.focus(); });
  $('symmetry').addEventListener('change', (e) => { board.symmetry = e.target.checked; });
  $('fill').addEventListener('click', () => fill(undefined, false));
  $('fill-region').addEventListener('click', fillRegion);
  $('fill-another').addEventListener('click', () => fill(undefined, true));
  $('stop').addEventListener('click', () => post('stop').catch(fail));
  $('exclude-current').addEventListener('click', (e) => excludeWord(e.target.dataset.word));
  $('search').addEventListener('click', search);
  $('pattern').addEventListener('keydown', (e) => { if (e.key === 'Enter') search(); });
  $('save').addEventListener('click', saveFile);
  $('open').addEventListener('click', openFiles);
  $('export').addEventListener('click', exportFiles);
  $('name-cancel').addEventListener('click', () => $('name-dialog').close());
  $('open-cancel').addEventListener('click', () => $('open-dialog').close());
  document.addEventListener('keydown', onGlobalKey);
  afterEdit();
  afterMove();
  const lists = (info.lists || []).reduce((a, b) => a + b, 0);
  say('Spremno: ' + lists + ' reci u spiskovima, izbaceno ' + (info.excluded || 0) + '.');
  board.focus();
  // The puzzle named on the server's command line opens first.
  if (info.file) await openFile(info.file);
  document.body.classList.add('ready');
}

start();
