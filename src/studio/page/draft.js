// The working copy of the open puzzle in the browser's storage: written
// after every change, offered back after a reload, a crash or a restart of
// the studio on the same address, and what tells unsaved changes apart.

// The key of one studio's working copy: the alphabet, the server's folder
// and the file it was started with (the browser keeps each address's
// storage apart already, port included).
export function draftKey(info) {
  return 'polimreza-studio/draft/' + (info.alphabet || '') + '/' +
    (info.folder || '') + '/' + (info.file || '');
}

// A short fingerprint of a puzzle's fields (FNV-1a over the JSON text),
// to compare the puzzle with the one last saved or opened.
export function fingerprint(fields) {
  const text = JSON.stringify(fields);
  let hash = 0x811c9dc5;
  for (let i = 0; i < text.length; i++) {
    hash ^= text.charCodeAt(i);
    hash = Math.imul(hash, 0x01000193) >>> 0;
  }
  return hash.toString(16);
}

export class Draft {
  constructor(key) {
    this.key = key;
    this.baseline = '';  // the fingerprint of the puzzle last saved or opened
    this.paused = true;  // nothing is written until the old copy was offered
  }

  // The stored copy, or null: {fields, file, baseline, time}.
  read() {
    try {
      const copy = JSON.parse(localStorage.getItem(this.key) || 'null');
      return copy && copy.fields && Array.isArray(copy.fields.rows) ? copy : null;
    } catch (e) {
      return null;
    }
  }

  // Whether `fields` differ from the puzzle last saved or opened.
  unsaved(fields) { return fingerprint(fields) !== this.baseline; }

  // Takes `fields` as saved or opened: nothing of them is unsaved.
  settle(fields) { this.baseline = fingerprint(fields); }

  // Keeps `fields` (and the name of the file they came from) as the working
  // copy; a puzzle with nothing unsaved leaves no copy to offer.
  write(fields, file) {
    if (this.paused) return;
    try {
      if (!this.unsaved(fields)) {
        localStorage.removeItem(this.key);
        return;
      }
      localStorage.setItem(this.key, JSON.stringify({fields, file, baseline: this.baseline,
        time: Date.now()}));
    } catch (e) {
      console.warn('polimreza-studio: the working copy could not be stored (' + e.name + ')');
    }
  }

  drop() {
    try { localStorage.removeItem(this.key); } catch (e) { /* nothing stored */ }
  }
}
