// What the page's modules share: the alphabet, the grid's history, the
// board, the clues known, the open file and its working copy.
import {cluesOf} from './panels.js';
import {squareCluesOf} from './skandinavka.js';

export const $ = (id) => document.getElementById(id);

export const app = {
  info: {},
  alphabet: null,  // letters.js
  history: null,  // grid.js
  board: null,  // board.js
  clueOf: new Map(),  // the clue of each word, as shown and saved
  draft: null,  // draft.js
  kind: 'classic',  // or 'skandinavka' (skandinavka.js)
  file: '',  // the ipuz file last saved or opened
  copyright: '',  // the copyright line of the file opened, kept as it was
  // Redraws everything after the grid was replaced (set by studio.js).
  refresh: () => {},
};

// The grid's pattern rows; `authorOnly` leaves out the machine's letters.
export function rows(authorOnly = false) {
  return app.history.grid.squares(authorOnly).map((r) => app.alphabet.joinRow(r));
}

// The puzzle's fields as save and export send them (and the working copy
// keeps them); a skandinavka's kind and its clues by word too.
export function fields() {
  const sent = {rows: rows(), author: rows(true), title: $('title').value,
    author_name: $('author-name').value, copyright: app.copyright,
    clues: cluesOf(app.history.grid, app.clueOf)};
  if (app.kind === 'skandinavka') {
    sent.kind = app.kind;
    sent.squareClues = squareCluesOf(app.history.grid, app.clueOf);
  }
  return sent;
}

// Stores the working copy of the puzzle as it is now.
export function keepDraft() {
  if (app.draft && app.history) app.draft.write(fields(), app.file);
}
