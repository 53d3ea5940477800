// The puzzle's files: save, open and export through the server, the
// working copy offered back after a reload, and the question before
// unsaved changes are dropped.
import {get, post} from './api.js';
import {ask, askName} from './dialogs.js';
import {Grid} from './grid.js';
import {say} from './panels.js';
import {loadKind} from './skandinavka.js';
import {$, app, fields, keepDraft} from './state.js';
import {t} from './texts.js';

// The endings the server gives an export's files after the base name
// (see POST /api/export): never the save's own NAME.ipuz; a skandinavka has
// no ipuz form.
const EXPORT_ENDINGS = ['-stampa.html', '-resenje.ipuz', '-stampa.svg'];
const SKANDINAVKA_ENDINGS = ['-stampa.html', '-stampa.svg'];

function report(done) {
  if (done instanceof Error) say(done.message, true);
  else if (typeof done === 'string') say(done);
}

// The name a file of the puzzle starts from: the file saved or opened
// last, else the title, else a default.
function baseName() {
  if (app.file) return app.file.replace(/\.ipuz$/i, '');
  const title = $('title').value.trim();
  return title ? title.replace(/[/\\]/g, '-').replace(/^\.+/, '') : t('defaultName');
}

const withIpuz = (name) => name.toLowerCase().endsWith('.ipuz') ? name : name + '.ipuz';

export async function saveFile() {
  report(await askName(t('saveName'), withIpuz(baseName()), async (name, overwrite) => {
    const sent = fields();
    const reply = await post('save', {name: withIpuz(name), ...sent, overwrite});
    app.file = reply.saved;
    app.draft.settle(sent);
    keepDraft();
    return t('saved', reply.saved);
  }, (name) => [withIpuz(name)]));
}

export async function exportFiles() {
  if (!app.history.grid.isFull()) { say(t('gridFull'), true); return; }
  const endings = app.kind === 'skandinavka' ? SKANDINAVKA_ENDINGS : EXPORT_ENDINGS;
  const names = (name) => endings.map((ending) => name + ending);
  report(await askName(t('exportName'), baseName(), async (name, overwrite) => {
    const reply = await post('export', {name, ...fields(), overwrite});
    return t('exported', (reply.written || []).join(', '));
  }, names));
}

// True when nothing unsaved would be lost, or the author lets it go.
export async function mayDiscard() {
  if (!app.draft.unsaved(fields())) return true;
  return await ask(t('askDiscard'), t('discard'), t('cancel')) === true;
}

export async function openFiles() {
  if (!await mayDiscard()) return;
  let reply;
  try { reply = await get('files'); } catch (e) { report(e); return; }
  const list = $('files');
  list.replaceChildren();
  if (!reply.files || reply.files.length === 0) {
    const li = document.createElement('li');
    li.textContent = t('noFiles');
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

// Puts a puzzle's fields (as /api/open answers them, or a working copy)
// on the page.
function load(reply) {
  const alphabet = app.alphabet;
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
      // An empty clue is none of the author's: the list's clue is asked for.
      if (word && typeof list[k] === 'string' && list[k] !== '') app.clueOf.set(word, list[k]);
    });
  });
  loadKind(reply, grid);
  $('title').value = reply.title || '';
  $('author-name').value = reply.author_name || '';
  app.copyright = typeof reply.copyright === 'string' ? reply.copyright : '';
  $('width').value = String(grid.width);
  $('height').value = String(grid.height);
  app.history.replace(grid);
  const board = app.board;
  board.current = 0;
  board.anchor = -1;
  board.typed = null;
  board.dead = new Set();
  board.draw();
  app.refresh();
}

export async function openFile(name) {
  try {
    const reply = await post('open', {name});
    load(reply);
    app.file = name;
    app.draft.settle(fields());
    keepDraft();
    say(t('opened', name));
  } catch (e) { report(e); }
}

function clock(time) {
  const d = new Date(time);
  return String(d.getHours()).padStart(2, '0') + ':' + String(d.getMinutes()).padStart(2, '0');
}

// Offers back the working copy a reload or a crash left, then keeps a new
// one after every change. Escape leaves the old copy stored until the
// next change replaces it.
export async function offerDraft() {
  const copy = app.draft.read();
  let answer = false;
  if (copy && copy.baseline !== undefined) {
    answer = await ask(t('askRestore', clock(copy.time)), t('restore'), t('discard'));
    if (answer) {
      try {
        load(copy.fields);
        app.file = typeof copy.file === 'string' ? copy.file : '';
        app.draft.baseline = copy.baseline;
        say(t('restored', clock(copy.time)));
      } catch (e) {
        console.warn('polimreza-studio: the working copy does not fit this alphabet');
      }
    }
  }
  app.draft.paused = false;
  if (answer !== null) keepDraft();
}

// Asks before the page goes while changes are unsaved.
export function guardUnload() {
  window.addEventListener('beforeunload', (event) => {
    if (!app.draft || app.draft.paused || !app.draft.unsaved(fields())) return;
    event.preventDefault();
    event.returnValue = '';
  });
}
