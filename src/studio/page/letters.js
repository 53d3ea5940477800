// The alphabet's letters on the page: reading a typed key as a letter, and
// splitting pattern rows into squares and joining them back, digraphs
// (LJ, NJ, DŽ) one square each and a separate pair kept apart with U+200C.

export const ZWNJ = '\u200C';

// The single-character forms of the Latin digraphs, read as their letters.
const DIGRAPH_CHARS = {
  '\u01C7': 'LJ', '\u01C8': 'LJ', '\u01C9': 'LJ',
  '\u01CA': 'NJ', '\u01CB': 'NJ', '\u01CC': 'NJ',
  '\u01C4': 'DŽ', '\u01C5': 'DŽ', '\u01C6': 'DŽ',
};

export class Alphabet {
  // `letters`: the letters as /api/info lists them, in the alphabet's order.
  constructor(letters, script) {
    this.letters = letters.map((letter) => letter.normalize('NFC'));
    this.known = new Set(this.letters);
    this.locale = script === 'cyrl' ? 'sr-Cyrl' : 'sr-Latn';
    // Longest first, so that a row reads LJ before L.
    this.byLength = [...this.letters].sort((a, b) => b.length - a.length);
  }

  upper(text) {
    return text.normalize('NFC').toLocaleUpperCase(this.locale);
  }

  // The letter a key stands for, or '' when it is none of the alphabet's.
  letterOf(key) {
    if (DIGRAPH_CHARS[key] !== undefined) {
      const digraph = DIGRAPH_CHARS[key];
      return this.known.has(digraph) ? digraph : '';
    }
    if (Array.from(key).length !== 1) return '';
    const letter = this.upper(key);
    return this.known.has(letter) ? letter : '';
  }

  // The letter two squares' letters make when joined (L then J: LJ), or ''.
  join(first, second) {
    const joined = first + second;
    return first.length === 1 && second.length === 1 && this.known.has(joined)
      ? joined : '';
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
      if (letter === undefined) throw new Error('Nepoznat znak: ' + c);
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
