// The studio's page: builds a crossword with the author, asks the server
// what fits, checks, fills, keeps clues, saves, opens and exports.
import {ApiError, get, post} from './api.js';
import {Board} from './board.js';
import {Draft, draftKey} from './draft.js';
import {exportFiles, guardUnload, mayDiscard, offerDraft, openFile, openFiles, saveFile}
  from './files.js';
import {ACROSS, DIRECTION_NAMES, Grid, History} from './grid.js';
import {Alphabet} from './letters.js';
import {countText, directionWord, markClues, refreshClues, say, showClues, showWords}
  from './panels.js';
import {initScores, drawFigures, scheduleQuality, scoreField} from './scores.js';
import {askLayout, decorate, isSkandinavka, newGridOf, refusalText, setupSkandinavka,
  update as updateSkandinavka} from './skandinavka.js';
import {$, app, fields, keepDraft, rows} from './state.js';
import {applyTexts, chooseLanguage, chosenLanguage, count, decimal, setLanguage, t}
  from './texts.js';

const STATUS_KEYS = new Set(['filled', 'impossible', 'timeout', 'stopped']);

let alphabet = null;
let history = null;
let board = null;
let maxSize = 100;
let maxSlot = 9;  // the longest slot the lists have words for
const clueOf = app.clueOf;
let filling = false;
let progressTimer = 0;

// Replies to requests sent before the latest of their kind are dropped.
const latest = {check: 0, candidates: 0, clues: 0, search: 0};
function debounce(fn, ms) {
  let timer = 0;
  return () => { clearTimeout(timer); timer = setTimeout(fn, ms); };
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

// Everything that follows an edit (a fill, undo, redo, a rejection and an
// opened file too): the current slot's line, marks, clues, buttons, what
// fits, the working copy.
function afterEdit() {
  updateButtons();
  showCurrent();
  showClues(history.grid, clueOf, {go: goToSlot, save: saveClue});
  markClues(history.grid, board.current, board.direction);
  keepDraft();
  scheduleCheck();
  scheduleClues();
  scheduleCandidates();
  scheduleQuality();
  updateSkandinavka();
  scheduleLayout();
}

function afterMove() {
  showCurrent();
  markClues(history.grid, board.current, board.direction);
  scheduleCandidates();
  updateSkandinavka(false);
}

const scheduleLayout = debounce(askLayout, 150);

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
  // A skandinavka's single square is no word.
  if (!slot || (isSkandinavka() && slot.cells.length < 2)) {
    text.textContent = '';
    wordLine.textContent = '';
    exclude.hidden = true;
    return;
  }
  const word = grid.wordOf(slot);
  // A skandinavka has no numbers: its words are named by their place.
  const name = isSkandinavka() ? '(' + (slot.col + 1) + ',' + (slot.row + 1) + ')' : slot.number;
  text.textContent = name + ' ' + directionWord(slot.direction) +
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
    (fitsCount.count === 0 && board.dead.size ? t('deadGrid') : '');
}

const scheduleCheck = debounce(async () => {
  const ticket = ++latest.check;
  if (longSlot()) {
    if (board.dead.size) { board.dead = new Set(); board.draw(); }
    return;
  }
  try {
    const reply = await post('check', {rows: rows(), kind: app.kind});
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
// word with the grid's crossings); "Prikaži još" asks again with the next
// limit, up to the server's most.
const FITS_LIMITS = [50, 200, 1000];

// Asks what fits the cursor's slot, at most FITS_LIMITS[step] words, and
// shows it with a "Prikaži još" button when more may fit; the panel stops
// showing itself as stale once the latest request is answered.
async function askCandidates(step) {
  const ticket = ++latest.candidates;
  await showCandidates(step, ticket);
  if (ticket === latest.candidates) $('fits-panel').classList.remove('stale');
}

async function showCandidates(step, ticket) {
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
    $('fits-count').textContent = t('longSlot', long.number, directionWord(long.direction),
      count('letters', long.cells.length), maxSlot);
    return;
  }
  const limit = FITS_LIMITS[step];
  try {
    const reply = await post('candidates', {rows: rows(), row: slot.row, col: slot.col,
      direction: DIRECTION_NAMES[slot.direction], limit, kind: app.kind});
    if (ticket !== latest.candidates) return;
    fitsCount = reply;
    showFitsCount();
    const words = reply.words || [];
    showWords(list, words, (word) => place(slot, word), excludeWord, scoreField);
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

const askSoon = debounce(() => askCandidates(0), 150);

// Asks what fits anew; until the answer comes the list shown is marked as
// being for an earlier grid or slot.
function scheduleCandidates() {
  $('fits-panel').classList.add('stale');
  askSoon();
}

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
  if (!squares) { say(t('noFit', word), true); return; }
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
    keepDraft();
    say(t('clueSaved', word));
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
    say(t('excluded', word, reply.excluded));
    scheduleCandidates();
  } catch (e) { fail(e); }
}

// Runs a fill; `region` as the API takes it, or undefined for the grid.
async function fill(region, another) {
  if (filling) return;
  // A skandinavka without a layout is not sent: the page says why.
  if (refusalText()) { say(refusalText(), true); return; }
  const keep = $('keep-machine').checked;
  const sent = history.grid;
  const body = {rows: rows(!keep), timeLimit: Number($('time-limit').value) || 30, another,
    kind: app.kind};
  if (region) body.region = region;
  filling = true;
  updateButtons();
  $('progress').textContent = t('filling');
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
    const seconds = typeof reply.seconds === 'number' ? ' (' + decimal(reply.seconds) + ' s)' : '';
    say((STATUS_KEYS.has(reply.status) ? t(reply.status) : reply.status) + seconds,
      reply.status === 'impossible');
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
      $('progress').textContent = t('progress', p.filled, count('words', p.slots),
        count('steps', p.nodes), decimal(Number(p.seconds)));
    }
  } catch (e) { /* the fill's own reply reports failures */ }
}

function fillRegion() {
  const rect = board.selection();
  if (rect) { fill(rect, false); return; }
  const slot = history.grid.slotAt(board.current, board.direction);
  if (!slot) { say(t('chooseSlot'), true); return; }
  fill({row: slot.row, col: slot.col, direction: DIRECTION_NAMES[slot.direction]}, false);
}

async function newGrid() {
  const width = Number($('width').value), height = Number($('height').value);
  if (!Number.isInteger(width) || !Number.isInteger(height) || width < 1 || height < 1 ||
      width > maxSize || height > maxSize) {
    say(t('badSize', maxSize), true);
    return;
  }
  if (!await mayDiscard()) return;
  app.file = '';
  app.copyright = '';
  history.replace(newGridOf(width, height));
  app.draft.settle(fields());
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
  // A pattern typed in the other script reads as the grid's letters.
  const typed = $('pattern').value.trim();
  const letters = alphabet.lettersOfTyped(typed);
  const pattern = letters ? alphabet.joinRow(letters.map((l) => l === '?' ? '' : l))
    .replace(/\*/g, '?') : alphabet.upper(typed);
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

// Puts the texts of the chosen language into the page and what is drawn.
function showLanguage() {
  setLanguage(chosenLanguage(), app.info.script);
  applyTexts();
  if (app.info.loopback === false) {
    $('banner').textContent = t('banner', app.info.host || '');
    $('banner').hidden = false;
  }
  if (!board) return;
  drawFigures();
  board.built = '';
  board.draw();
  afterEdit();
  afterMove();
}

function switchLanguage() {
  chooseLanguage(chosenLanguage() === 'en' ? 'sr' : 'en');
  say('');  // the last message was in the other language
  showLanguage();
}

// A key that types no letter says so (it used to do nothing at all).
function refusedKey(key) {
  say(t('noLetter', key), true);
}

function listen() {
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
  $('language').addEventListener('click', switchLanguage);
  $('open-cancel').addEventListener('click', () => $('open-dialog').close());
  for (const id of ['title', 'author-name']) $(id).addEventListener('input', keepDraft);
  document.addEventListener('keydown', onGlobalKey);
  guardUnload();
}

async function start() {
  setLanguage(chosenLanguage(), 'latn');
  applyTexts();
  let info;
  try {
    info = await get('info');
  } catch (e) {
    fail(e);
    return;
  }
  app.info = info;
  showLanguage();
  alphabet = new Alphabet(info.letters || [], info.script, info.typing);
  maxSize = info.maxSize || 100;
  if (Array.isArray(info.lists) && info.lists.length) maxSlot = info.lists.length;
  for (const id of ['width', 'height']) $(id).max = String(maxSize);
  history = new History(new Grid(13, 13));
  board = new Board($('grid'), history, alphabet,
    {edited: afterEdit, moved: afterMove, refused: refusedKey, drawn: decorate});
  Object.assign(app, {alphabet, history, board, draft: new Draft(draftKey(info)),
    refresh: () => { afterEdit(); afterMove(); }});
  initScores(info, {board, rows, askable: () => !longSlot(), say, fail,
    refresh: () => { scheduleCandidates(); scheduleQuality(); }});
  setupSkandinavka(app, {save: saveClue, failed: fail,
    select: (i) => board.select(i, board.direction)});
  app.draft.settle(fields());
  board.draw();
  listen();
  afterEdit();
  afterMove();
  const lists = (info.lists || []).reduce((a, b) => a + b, 0);
  say(t('ready', count('words', lists), info.excluded || 0));
  board.focus();
  // The puzzle named on the server's command line opens first; then the
  // working copy a reload or a crash left is offered back.
  if (info.file) await openFile(info.file);
  await offerDraft();
  document.body.classList.add('ready');
}

start();
