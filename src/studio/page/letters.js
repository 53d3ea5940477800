// The alphabet's letters on the page: reading a typed key as a letter (in
// either script, as the server's /api/info "typing" table says), and
// splitting pattern rows into squares and joining them back, digraphs
// (LJ, NJ, DŽ) one square each and a separate pair kept apart with U+200C.
import {t} from './texts.js';

export const ZWNJ = '\u200C';

export class Alphabet {
  // `letters`: the letters as /api/info lists them, in the alphabet's order;
  // `typing`: its {"keys": {TYPED: LETTER}, "joins": [[PREVIOUS, TYPED,
  // JOINED]]}, TYPED one upper-case character as a keyboard of either
  // script types it.
  constructor(letters, script, typing) {
    this.letters = letters.map((letter) => letter.normalize('NFC'));
    this.known = new Set(this.letters);
    this.locale = script === 'cyrl' ? 'sr-Cyrl' : 'sr-Latn';
    // Longest first, so that a row reads LJ before L.
    this.byLength = [...this.letters].sort((a, b) => b.length - a.length);
    const table = typing || {};
    this.keys = new Map(Object.entries(table.keys || {})
      .map(([key, letter]) => [key.normalize('NFC'), letter.normalize('NFC')]));
    this.joins = new Map((table.joins || []).map(([previous, key, joined]) =>
      [previous.normalize('NFC') + '\n' + key.normalize('NFC'), joined.normalize('NFC')]));
  }

  upper(text) {
    return text.normalize('NFC').toLocaleUpperCase(this.locale);
  }

  // The upper-case character of a key, as the typing table names keys, or
  // '' for a key that is not one character.
  typedOf(key) {
    const text = key.normalize('NFC');
    if (Array.from(text).length !== 1) return '';
    const upper = text.toUpperCase();
    return Array.from(upper).length === 1 ? upper : '';
  }

  // The letter a key stands for, or '' when it is none of the alphabet's.
  letterOf(key) {
    const typed = this.typedOf(key);
    if (!typed) return '';
    if (this.keys.has(typed)) return this.keys.get(typed);
    return this.known.has(typed) ? typed : '';
  }

  // The letter that `key` typed right after `previous` makes of the two
  // (L then J: LJ; Д then J: Ђ), or ''.
  joinOf(previous, key) {
    return this.joins.get(previous + '\n' + this.typedOf(key)) || '';
  }

  // The letters of text typed in either script ('?' and '*' kept as '?'),
  // pairs joined as when typed into the grid; null when a character is
  // no letter.
  lettersOfTyped(text) {
    const out = [];
    let joinable = false;
    for (const c of Array.from(text.normalize('NFC'))) {
      if (c === '?' || c === '*') { out.push('?'); joinable = false; continue; }
      const joined = joinable ? this.joinOf(out[out.length - 1], c) : '';
      if (joined) { out[out.length - 1] = joined; joinable = false; continue; }
      const letter = this.letterOf(c);
      if (!letter) return null;
      out.push(letter);
      joinable = true;
    }
    return out;
  }

  // The squares of one pattern row: '#' a block, '' an open empty square,
  // else the square's letter. Throws on a character that is no letter.
  splitRow(row) {
    const squares = [];
    const text = row.normalize('NFC');
    let at = 0;
    while (at < text.length) {
      const c = text[at];
      if (c === ZWNJ) { at += 1; continue; }
      if (c === '#') { squares.push('#'); at += 1; continue; }
      if (c === '*' || c === '.') { squares.push(''); at += 1; continue; }
      const letter = this.byLength.find((l) => text.startsWith(l, at));
      if (letter === undefined) throw new Error(t('unknownChar', c));
      squares.push(letter);
      at += letter.length;
    }
    return squares;
  }

  // The squares of `word` in a slot of `length` squares: a word written
  // without U+200C may hold a pair (N, J) that reads as one letter, so the
  // split that gives `length` letters wins, digraphs first. Null when none.
  splitWord(word, length) {
    const text = word.normalize('NFC').split(ZWNJ).join('');
    const memo = new Map();
    const from = (at, left) => {
      if (at === text.length) return left === 0 ? [] : null;
      if (left === 0) return null;
      const key = at * 64 + left;
      if (memo.has(key)) return memo.get(key);
      let found = null;
      for (const letter of this.byLength) {
        if (!text.startsWith(letter, at)) continue;
        const rest = from(at + letter.length, left - 1);
        if (rest) { found = [letter, ...rest]; break; }
      }
      memo.set(key, found);
      return found;
    };
    return word.includes(ZWNJ) ? this.checkedSplit(word, length) : from(0, length);
  }

  checkedSplit(word, length) {
    try {
      const squares = this.splitRow(word);
      return squares.length === length ? squares : null;
    } catch (e) {
      return null;
    }
  }

  // One pattern row from its squares, with U+200C between two letters that
  // would otherwise read as one (L and J).
  joinRow(squares) {
    let row = '';
    let last = '';
    for (const square of squares) {
      const text = square === '#' ? '#' : square === '' ? '*' : square;
      if (last !== '' && text !== '#' && text !== '*' && this.merges(last, text)) {
        row += ZWNJ;
      }
      row += text;
      last = text === '#' || text === '*' ? '' : text;
    }
    return row;
  }

  // True when `before` followed by `after` would read as another letter.
  merges(before, after) {
    const both = before + after;
    return this.letters.some((letter) => letter.length > before.length &&
        letter.startsWith(before) && both.startsWith(letter));
  }
}
