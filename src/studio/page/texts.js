// Every text the studio's page shows, in Serbian Latin, Serbian Cyrillic
// and English: the page speaks the puzzle's script in Serbian, English when
// the author asks for it (remembered in the browser). Messages for the
// console are not here: they stay ASCII Latin in the code that logs them.

// A text is a string with {0}, {1}... for its values, or for a count the
// three forms [one, few, other] of the plural rules ("1 reč", "2 reči",
// "5 reči"; English uses one and other).
const TABLES = {
  'sr-Latn': {
    pageTitle: 'Polimreza studio',
    banner: 'Pažnja: server sluša na adresi koja nije lokalna ({0}). Svako ko zna adresu i ključ ' +
      'može da menja vaše fajlove.',
    language: 'English',
    languageTitle: 'Prikaži stranicu na engleskom',
    title: 'Naslov',
    author: 'Autor',
    fileGroup: 'Fajl',
    save: 'Sačuvaj',
    open: 'Otvori',
    export: 'Izvezi',
    gridGroup: 'Mreža',
    newGroup: 'Nova mreža',
    width: 'Širina',
    height: 'Visina',
    newGrid: 'Nova mreža',
    editGroup: 'Uređivanje',
    undo: 'Opozovi',
    redo: 'Ponovi',
    block: 'Crno polje',
    symmetry: 'Simetrija',
    fillGroup: 'Popunjavanje',
    fill: 'Popuni',
    fillRegion: 'Popuni označeno',
    fillAnother: 'Još jedno popunjavanje',
    stop: 'Zaustavi',
    keepMachine: 'Zadrži mašinska slova',
    timeLimit: 'Vreme (s)',
    help: 'Strelice ili klik biraju polje; slovo se kuca; tačka pravi ili briše crno polje; ' +
      'Backspace briše; Tab i Shift+Tab idu na sledeću i prethodnu reč; razmak ili drugi klik ' +
      'menja smer; Shift sa strelicom ili klikom označava pravougaonik; Ctrl+Z opoziva, ' +
      'Ctrl+Y ponavlja. Ćirilična slova se kucaju kao latinična (љ → LJ, џ → DŽ).',
    sideGroup: 'Reči i opisi',
    fits: 'Šta staje',
    excludeCurrent: 'Izbaci reč',
    more: 'Prikaži još',
    search: 'Pretraga',
    patternHint: 'npr. A??A',
    patternLabel: 'Obrazac (? je bilo koje slovo)',
    find: 'Traži',
    across: 'Vodoravno',
    down: 'Uspravno',
    acrossWord: 'vodoravno',
    downWord: 'uspravno',
    ok: 'U redu',
    cancel: 'Odustani',
    replace: 'Zameni',
    chooseFile: 'Izaberite fajl:',
    yes: 'Da',
    no: 'Ne',
    restore: 'Vrati',
    discard: 'Odbaci',
    filled: 'Mreža je popunjena.',
    impossible: 'Mreža se ne može popuniti.',
    timeout: 'Vreme je isteklo; upisano je koliko je popunjeno.',
    stopped: 'Popunjavanje je zaustavljeno; upisano je koliko je popunjeno.',
    deadGrid: ': crvena reč mreže se ne može popuniti',
    longSlot: 'Reč {0} {1} ima {2}, a spiskovi najviše {3}: dodajte crna polja.',
    letters: ['{0} slovo', '{0} slova', '{0} slova'],
    words: ['{0} reč', '{0} reči', '{0} reči'],
    aboutWords: ['oko {0} reč', 'oko {0} reči', 'oko {0} reči'],
    steps: ['{0} korak', '{0} koraka', '{0} koraka'],
    noFit: 'Reč {0} ne staje u ovu reč mreže.',
    clueSaved: 'Opis za {0} je sačuvan.',
    excluded: 'Reč {0} je izbačena (izbačeno ukupno: {1}).',
    excludeOne: 'Izbaci',
    excludeTitle: 'Izbaci reč {0} iz spiskova',
    filling: 'Popunjavam…',
    progress: 'Popunjavam: {0} od {1}, {2}, {3} s',
    chooseSlot: 'Izaberite reč ili označite pravougaonik.',
    badSize: 'Širina i visina moraju biti od 1 do {0}.',
    saveName: 'Ime fajla (.ipuz):',
    exportName: 'Osnova imena za izvoz:',
    exportFiles: 'Biće zapisano: {0}',
    exists: 'Fajl „{0}“ postoji. Da ga zamenim?',
    existsSome: 'Neki od fajlova već postoji ({0}). Da ih zamenim?',
    saved: 'Sačuvano: {0}',
    exported: 'Izvezeno: {0}',
    noFiles: 'Nema ipuz fajlova u folderu.',
    opened: 'Otvoreno: {0}',
    ready: 'Spremno: {0} u spiskovima, izbačeno {1}.',
    clueLabel: 'Opis {0} {1}',
    squareLabel: '{0}. red, {1}. kolona',
    noLetter: 'Znak „{0}“ nije slovo azbuke ove mreže.',
    unknownChar: 'Nepoznat znak: {0}',
    noServer: 'Server se ne javlja.',
    serverError: 'Greška {0}.',
    askRestore: 'Vratiti nesačuvani rad od {0}?',
    restored: 'Vraćen je nesačuvani rad od {0}.',
    askDiscard: 'Izmene nisu sačuvane. Odbaciti ih?',
    defaultName: 'ukrštenica',
    gridFull: 'Mreža nije popunjena.',
  },
  'sr-Cyrl': {
    pageTitle: 'Polimreza studio',
    banner: 'Пажња: сервер слуша на адреси која није локална ({0}). Свако ко зна адресу и кључ ' +
      'може да мења ваше фајлове.',
    language: 'English',
    languageTitle: 'Прикажи страницу на енглеском',
    title: 'Наслов',
    author: 'Аутор',
    fileGroup: 'Фајл',
    save: 'Сачувај',
    open: 'Отвори',
    export: 'Извези',
    gridGroup: 'Мрежа',
    newGroup: 'Нова мрежа',
    width: 'Ширина',
    height: 'Висина',
    newGrid: 'Нова мрежа',
    editGroup: 'Уређивање',
    undo: 'Опозови',
    redo: 'Понови',
    block: 'Црно поље',
    symmetry: 'Симетрија',
    fillGroup: 'Попуњавање',
    fill: 'Попуни',
    fillRegion: 'Попуни означено',
    fillAnother: 'Још једно попуњавање',
    stop: 'Заустави',
    keepMachine: 'Задржи машинска слова',
    timeLimit: 'Време (s)',
    help: 'Стрелице или клик бирају поље; слово се куца; тачка прави или брише црно поље; ' +
      'Backspace брише; Tab и Shift+Tab иду на следећу и претходну реч; размак или други клик ' +
      'мења смер; Shift са стрелицом или кликом означава правоугаоник; Ctrl+Z опозива, ' +
      'Ctrl+Y понавља. Латиница куца ћирилична слова (lj → Љ, nj → Њ, dž → Џ, dj → Ђ).',
    sideGroup: 'Речи и описи',
    fits: 'Шта стаје',
    excludeCurrent: 'Избаци реч',
    more: 'Прикажи још',
    search: 'Претрага',
    patternHint: 'нпр. А??А',
    patternLabel: 'Образац (? је било које слово)',
    find: 'Тражи',
    across: 'Водоравно',
    down: 'Усправно',
    acrossWord: 'водоравно',
    downWord: 'усправно',
    ok: 'У реду',
    cancel: 'Одустани',
    replace: 'Замени',
    chooseFile: 'Изаберите фајл:',
    yes: 'Да',
    no: 'Не',
    restore: 'Врати',
    discard: 'Одбаци',
    filled: 'Мрежа је попуњена.',
    impossible: 'Мрежа се не може попунити.',
    timeout: 'Време је истекло; уписано је колико је попуњено.',
    stopped: 'Попуњавање је заустављено; уписано је колико је попуњено.',
    deadGrid: ': црвена реч мреже се не може попунити',
    longSlot: 'Реч {0} {1} има {2}, а спискови највише {3}: додајте црна поља.',
    letters: ['{0} слово', '{0} слова', '{0} слова'],
    words: ['{0} реч', '{0} речи', '{0} речи'],
    aboutWords: ['око {0} реч', 'око {0} речи', 'око {0} речи'],
    steps: ['{0} корак', '{0} корака', '{0} корака'],
    noFit: 'Реч {0} не стаје у ову реч мреже.',
    clueSaved: 'Опис за {0} је сачуван.',
    excluded: 'Реч {0} је избачена (избачено укупно: {1}).',
    excludeOne: 'Избаци',
    excludeTitle: 'Избаци реч {0} из спискова',
    filling: 'Попуњавам…',
    progress: 'Попуњавам: {0} од {1}, {2}, {3} s',
    chooseSlot: 'Изаберите реч или означите правоугаоник.',
    badSize: 'Ширина и висина морају бити од 1 до {0}.',
    saveName: 'Име фајла (.ipuz):',
    exportName: 'Основа имена за извоз:',
    exportFiles: 'Биће записано: {0}',
    exists: 'Фајл „{0}“ постоји. Да га заменим?',
    existsSome: 'Неки од фајлова већ постоји ({0}). Да их заменим?',
    saved: 'Сачувано: {0}',
    exported: 'Извезено: {0}',
    noFiles: 'Нема ipuz фајлова у фолдеру.',
    opened: 'Отворено: {0}',
    ready: 'Спремно: {0} у списковима, избачено {1}.',
    clueLabel: 'Опис {0} {1}',
    squareLabel: '{0}. ред, {1}. колона',
    noLetter: 'Знак „{0}“ није слово азбуке ове мреже.',
    unknownChar: 'Непознат знак: {0}',
    noServer: 'Сервер се не јавља.',
    serverError: 'Грешка {0}.',
    askRestore: 'Вратити несачувани рад од {0}?',
    restored: 'Враћен је несачувани рад од {0}.',
    askDiscard: 'Измене нису сачуване. Одбацити их?',
    defaultName: 'укрштеница',
    gridFull: 'Мрежа није попуњена.',
  },
  en: {
    pageTitle: 'Polimreza studio',
    banner: 'Warning: the server listens on an address that is not local ({0}). Anyone who knows ' +
      'the address and the key can change your files.',
    language: 'Srpski',
    languageTitle: 'Show the page in Serbian',
    title: 'Title',
    author: 'Author',
    fileGroup: 'File',
    save: 'Save',
    open: 'Open',
    export: 'Export',
    gridGroup: 'Grid',
    newGroup: 'New grid',
    width: 'Width',
    height: 'Height',
    newGrid: 'New grid',
    editGroup: 'Editing',
    undo: 'Undo',
    redo: 'Redo',
    block: 'Block',
    symmetry: 'Symmetry',
    fillGroup: 'Filling',
    fill: 'Fill',
    fillRegion: 'Fill selection',
    fillAnother: 'Another fill',
    stop: 'Stop',
    keepMachine: 'Keep machine letters',
    timeLimit: 'Time (s)',
    help: 'Arrows or a click choose a square; a letter types; a full stop makes or removes a ' +
      'block; Backspace clears; Tab and Shift+Tab go to the next and previous word; Space or a ' +
      'second click turns the direction; Shift with an arrow or a click selects a rectangle; ' +
      'Ctrl+Z undoes, Ctrl+Y redoes. Latin keys type Cyrillic letters into a Cyrillic grid ' +
      '(lj → Љ, dž → Џ) and Cyrillic keys Latin letters into a Latin one.',
    sideGroup: 'Words and clues',
    fits: 'What fits',
    excludeCurrent: 'Reject word',
    more: 'Show more',
    search: 'Search',
    patternHint: 'e.g. A??A',
    patternLabel: 'Pattern (? is any letter)',
    find: 'Find',
    across: 'Across',
    down: 'Down',
    acrossWord: 'across',
    downWord: 'down',
    ok: 'OK',
    cancel: 'Cancel',
    replace: 'Replace',
    chooseFile: 'Choose a file:',
    yes: 'Yes',
    no: 'No',
    restore: 'Restore',
    discard: 'Discard',
    filled: 'The grid is filled.',
    impossible: 'The grid cannot be filled.',
    timeout: 'Time is up; what was filled is in the grid.',
    stopped: 'The fill was stopped; what was filled is in the grid.',
    deadGrid: ': a red word of the grid cannot be filled',
    longSlot: 'Word {0} {1} has {2}, and the lists at most {3}: add blocks.',
    letters: ['{0} letter', '{0} letters', '{0} letters'],
    words: ['{0} word', '{0} words', '{0} words'],
    aboutWords: ['about {0} word', 'about {0} words', 'about {0} words'],
    steps: ['{0} step', '{0} steps', '{0} steps'],
    noFit: 'The word {0} does not fit this slot.',
    clueSaved: 'Clue for {0} saved.',
    excluded: 'Word {0} rejected (rejected in all: {1}).',
    excludeOne: 'Reject',
    excludeTitle: 'Reject the word {0} from the lists',
    filling: 'Filling…',
    progress: 'Filling: {0} of {1}, {2}, {3} s',
    chooseSlot: 'Choose a word or select a rectangle.',
    badSize: 'Width and height must be from 1 to {0}.',
    saveName: 'File name (.ipuz):',
    exportName: 'Base name for the export:',
    exportFiles: 'Will write: {0}',
    exists: 'The file “{0}” exists. Replace it?',
    existsSome: 'One of the files exists already ({0}). Replace them?',
    saved: 'Saved: {0}',
    exported: 'Exported: {0}',
    noFiles: 'No ipuz files in the folder.',
    opened: 'Opened: {0}',
    ready: 'Ready: {0} in the lists, {1} rejected.',
    clueLabel: 'Clue {0} {1}',
    squareLabel: 'row {0}, column {1}',
    noLetter: '“{0}” is no letter of this grid’s alphabet.',
    unknownChar: 'Unknown character: {0}',
    noServer: 'The server does not answer.',
    serverError: 'Error {0}.',
    askRestore: 'Restore the unsaved work of {0}?',
    restored: 'Restored the unsaved work of {0}.',
    askDiscard: 'The changes are not saved. Discard them?',
    defaultName: 'crossword',
    gridFull: 'The grid is not full.',
  },
};

const LANGUAGE_KEY = 'polimreza-studio/language';

let tag = 'sr-Latn';
let rules = new Intl.PluralRules('sr');

// The language the author chose last ('sr' or 'en'), 'sr' when none.
export function chosenLanguage() {
  try {
    return localStorage.getItem(LANGUAGE_KEY) === 'en' ? 'en' : 'sr';
  } catch (e) {
    return 'sr';
  }
}

export function chooseLanguage(language) {
  try { localStorage.setItem(LANGUAGE_KEY, language); } catch (e) { /* kept for this page only */ }
}

// Shows the page in `language` ('sr' or 'en'); Serbian in `script`
// ('latn' or 'cyrl').
export function setLanguage(language, script) {
  tag = language === 'en' ? 'en' : script === 'cyrl' ? 'sr-Cyrl' : 'sr-Latn';
  rules = new Intl.PluralRules(language === 'en' ? 'en' : 'sr');
}

export function languageTag() { return tag; }

// `x` with one decimal as the language writes it ("0,5" in Serbian).
export function decimal(x) {
  return new Intl.NumberFormat(tag === 'en' ? 'en' : 'sr-Latn',
    {minimumFractionDigits: 1, maximumFractionDigits: 1}).format(x);
}

function fill(text, values) {
  return text.replace(/\{(\d)\}/g, (_, k) => String(values[Number(k)]));
}

// The text `key` with its values.
export function t(key, ...values) {
  const text = TABLES[tag][key];
  return fill(typeof text === 'string' ? text : key, values);
}

// The count `n` with the noun of `key` in its plural form ("5 reči").
export function count(key, n) {
  const forms = TABLES[tag][key];
  const form = {one: 0, few: 1}[rules.select(n)] ?? 2;
  return fill(forms[form], [n]);
}

// Puts the texts into the static page: an element's text by `data-t`, its
// attributes by `data-t-title`, `data-t-placeholder` and `data-t-label`
// (aria-label).
export function applyTexts(root = document) {
  root.documentElement.lang = tag;
  root.title = t('pageTitle');
  root.querySelectorAll('[data-t]').forEach((el) => { el.textContent = t(el.dataset.t); });
  for (const [data, attribute] of [['tTitle', 'title'], ['tPlaceholder', 'placeholder'],
    ['tLabel', 'aria-label']]) {
    root.querySelectorAll('[data-' + data.replace(/[A-Z]/g, (c) => '-' + c.toLowerCase()) + ']')
      .forEach((el) => el.setAttribute(attribute, t(el.dataset[data])));
  }
}

// Adds the texts of one of the page's modules: `tables` holds a table of
// each language.
export function addTexts(tables) {
  for (const [name, table] of Object.entries(tables)) Object.assign(TABLES[name], table);
}

// Every table has every key (for the page's own check).
export function missingTexts() {
  const keys = Object.keys(TABLES['sr-Latn']);
  return Object.entries(TABLES).flatMap(([name, table]) =>
    keys.filter((k) => !(k in table)).map((k) => name + ':' + k));
}
