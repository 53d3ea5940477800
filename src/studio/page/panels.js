// The panels beside the grid: the status line, word lists (what fits, a
// pattern search) and the clue lists. Every word and clue goes on the page
// as text, never as markup.
import {ACROSS, DOWN} from './grid.js';
import {count, t} from './texts.js';

const $ = (id) => document.getElementById(id);

// Shows `text` in the status line; `error` marks it as a failure.
export function say(text, error = false) {
  const status = $('status');
  status.textContent = text;
  status.classList.toggle('error', error);
}

// "N reči", or "oko N reči" when the server only estimated the count.
export function countText(n, exact) {
  return count(exact === false ? 'aboutWords' : 'words', n);
}

// "vodoravno" or "uspravno".
export function directionWord(direction) {
  return t(direction === ACROSS ? 'acrossWord' : 'downWord');
}

// Fills the list `ol` with `words` ({word, clue}); `pick(word)` runs on a
// click of a word, `exclude(word)`, when given, on its "Izbaci" button;
// `decorate(li, item)`, when given, adds to a word's row.
export function showWords(ol, words, pick, exclude, decorate) {
  ol.replaceChildren();
  for (const item of words) {
    const {word, clue} = item;
    const li = document.createElement('li');
    const button = document.createElement('button');
    button.type = 'button';
    button.className = 'word';
    button.dataset.word = word;
    const w = document.createElement('b');
    w.textContent = word;
    const c = document.createElement('span');
    c.className = 'clue';
    c.textContent = clue || '';
    button.append(w, ' ', c);
    button.addEventListener('click', () => pick(word));
    li.append(button);
    if (decorate) decorate(li, item);
    if (exclude) {
      const out = document.createElement('button');
      out.type = 'button';
      out.className = 'exclude';
      out.textContent = t('excludeOne');
      out.title = t('excludeTitle', word);
      out.addEventListener('click', () => exclude(word));
      li.append(out);
    }
    ol.append(li);
  }
}

// Draws the clue lists of `grid`: each slot's number, an editable clue
// (the clue of its word from `clueOf`, empty while the slot is not full)
// and its length. `events`: {go(slot), save(word, clue)}.
export function showClues(grid, clueOf, events) {
  [[ACROSS, $('across')], [DOWN, $('down')]].forEach(([direction, ol]) => {
    ol.replaceChildren();
    for (const slot of grid.slots[direction]) {
      const li = document.createElement('li');
      li.id = (direction === ACROSS ? 'across-' : 'down-') + slot.index;
      const n = document.createElement('span');
      n.className = 'n';
      n.textContent = String(slot.number);
      const word = grid.wordOf(slot);
      const input = document.createElement('input');
      input.type = 'text';
      input.className = 'clue';
      input.dataset.word = word;
      input.value = word ? clueOf.get(word) || '' : '';
      input.disabled = !word;
      input.placeholder = word ? '' : '(' + slot.cells.length + ')';
      input.setAttribute('aria-label', t('clueLabel', slot.number, directionWord(direction)));
      input.addEventListener('change', () => events.save(word, input.value));
      const len = document.createElement('span');
      len.className = 'len';
      len.textContent = word || '(' + slot.cells.length + ')';
      li.append(n, input, len);
      li.addEventListener('click', (event) => {
        if (event.target !== input) events.go(slot);
      });
      input.addEventListener('focus', () => events.go(slot, true));
      ol.append(li);
    }
  });
}

// Puts the clues now known into the clue fields the author is not editing.
export function refreshClues(clueOf) {
  document.querySelectorAll('.clue-lists input.clue').forEach((input) => {
    if (input.dataset.word && document.activeElement !== input) {
      input.value = clueOf.get(input.dataset.word) || '';
    }
  });
}

// Marks the clue of the current slot and of the one crossing it.
export function markClues(grid, current, direction) {
  document.querySelectorAll('.clue-lists li.active, .clue-lists li.other')
    .forEach((li) => li.classList.remove('active', 'other'));
  for (const [d, name] of [[direction, 'active'], [1 - direction, 'other']]) {
    const slot = grid.slotAt(current, d);
    if (!slot) continue;
    const li = $((d === ACROSS ? 'across-' : 'down-') + slot.index);
    if (li) li.classList.add(name);
  }
}

// The clues of the slots in list order, for saving: the clue of each
// slot's word, '' for a slot that is not full.
export function cluesOf(grid, clueOf) {
  const lists = {across: [], down: []};
  for (const [direction, key] of [[ACROSS, 'across'], [DOWN, 'down']]) {
    for (const slot of grid.slots[direction]) {
      const word = grid.wordOf(slot);
      lists[key].push(word ? clueOf.get(word) || '' : '');
    }
  }
  return lists;
}
