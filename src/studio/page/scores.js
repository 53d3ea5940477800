// The words' scores on the page: each candidate's score in a field the
// author can change (the server saves it in ocene.txt), the grid's quality
// figures beside it, and the weak words and the squares where two of them
// cross marked in the grid. Without ocene.txt nothing of scores shows.
import {post} from './api.js';
import {addTexts, languageTag, t} from './texts.js';

addTexts({
  'sr-Latn': {
    quality: 'Kvalitet',
    fSquares: 'Polja',
    fBlack: 'Crna polja',
    fWords: 'Reči od dva ili više slova',
    fPdr: 'PDR',
    fPdrTitle: 'prosečna dužina reči',
    fLowest: 'Najniža ocena',
    fMean: 'Prosečna ocena',
    fWeakBelow: 'Granica slabih reči',
    fWeakWords: 'Slabe reči',
    fWeakCrossings: 'Slaba ukrštanja',
    fUnscored: 'Reči bez ocene',
    fKinds: 'Vrste reči',
    kind0: 'obične reči',
    kind1: 'imena',
    kind2: 'skraćenice',
    kind3: 'rimski brojevi',
    kind4: 'iz lista sa opisima',
    kind5: 'iz lista sa ocenama',
    kind6: 'nepoznate vrste',
    band0: 'vrlo laka',
    band1: 'laka',
    band2: 'umereno teška',
    band3: 'srednje teška',
    band4: 'teška',
    band5: 'vrlo teška',
    placedNote: 'Ocene, slabe reči i vrste su od {0} od {1} reči, upisanih do sada.',
    legendWeak: 'slaba reč (ocena ispod {0} ili bez ocene)',
    legendCrossing: 'dve slabe reči se ukrštaju',
    scoreLabel: 'Ocena reči {0} (0–100)',
    scoreSaved: 'Ocena reči {0} je {1} (sačuvano u ocene.txt).',
    badScore: 'Ocena je ceo broj od 0 do 100.',
  },
  'sr-Cyrl': {
    quality: 'Квалитет',
    fSquares: 'Поља',
    fBlack: 'Црна поља',
    fWords: 'Речи од два или више слова',
    fPdr: 'ПДР',
    fPdrTitle: 'просечна дужина речи',
    fLowest: 'Најнижа оцена',
    fMean: 'Просечна оцена',
    fWeakBelow: 'Граница слабих речи',
    fWeakWords: 'Слабе речи',
    fWeakCrossings: 'Слаба укрштања',
    fUnscored: 'Речи без оцене',
    fKinds: 'Врсте речи',
    kind0: 'обичне речи',
    kind1: 'имена',
    kind2: 'скраћенице',
    kind3: 'римски бројеви',
    kind4: 'из листа са описима',
    kind5: 'из листа са оценама',
    kind6: 'непознате врсте',
    band0: 'врло лака',
    band1: 'лака',
    band2: 'умерено тешка',
    band3: 'средње тешка',
    band4: 'тешка',
    band5: 'врло тешка',
    placedNote: 'Оцене, слабе речи и врсте су од {0} од {1} речи, уписаних до сада.',
    legendWeak: 'слаба реч (оцена испод {0} или без оцене)',
    legendCrossing: 'две слабе речи се укрштају',
    scoreLabel: 'Оцена речи {0} (0–100)',
    scoreSaved: 'Оцена речи {0} је {1} (сачувано у ocene.txt).',
    badScore: 'Оцена је цео број од 0 до 100.',
  },
  'en': {
    quality: 'Quality',
    fSquares: 'Squares',
    fBlack: 'Black squares',
    fWords: 'Words of two or more letters',
    fPdr: 'PDR',
    fPdrTitle: 'average word length',
    fLowest: 'Lowest score',
    fMean: 'Mean score',
    fWeakBelow: 'Weak below',
    fWeakWords: 'Weak words',
    fWeakCrossings: 'Weak crossings',
    fUnscored: 'Words without a score',
    fKinds: 'Kinds of words',
    kind0: 'ordinary words',
    kind1: 'names',
    kind2: 'abbreviations',
    kind3: 'Roman numerals',
    kind4: 'from clued lists',
    kind5: 'from scored lists',
    kind6: 'unknown kinds',
    band0: 'very easy',
    band1: 'easy',
    band2: 'moderately hard',
    band3: 'fairly hard',
    band4: 'hard',
    band5: 'very hard',
    placedNote: 'Scores, weak words and kinds are of the {0} words of {1} placed so far.',
    legendWeak: 'weak word (score below {0}, or none)',
    legendCrossing: 'two weak words cross',
    scoreLabel: 'Score of {0} (0–100)',
    scoreSaved: 'The score of {0} is {1} (saved in ocene.txt).',
    badScore: 'A score is a whole number from 0 to 100.',
  },
});

// The bands as the server names them, in the order of the texts' `bands`.
const BANDS = ['vrlo laka', 'laka', 'umereno teska', 'srednje teska', 'teska', 'vrlo teska'];

const $ = (id) => document.getElementById(id);

// {board, rows(), askable(), refresh(), say(text, error), fail(error)},
// from the page (studio.js).
let page = null;
let weakBelow = 30;
let weak = new Set();  // squares of weak words
let crossing = new Set();  // squares where two weak words cross
let shown = null;  // the last figures answered
let ticket = 0;
let timer = 0;

// Starts the scores' part of the page with /api/info's `info`.
export function initScores(info, hooks) {
  page = hooks;
  weakBelow = Number.isInteger(info.weakBelow) ? info.weakBelow : 30;
  page.board.marks = (i) => crossing.has(i) ? ' weak crossing' : weak.has(i) ? ' weak' : '';
}

// `x` with two decimals as the language writes it.
function two(x) {
  return new Intl.NumberFormat(languageTag() === 'en' ? 'en' : 'sr-Latn',
    {minimumFractionDigits: 2, maximumFractionDigits: 2}).format(x);
}

// The score field of a candidate's row `li` (of the reply's `item`), when
// the reply carries scores: the score ("–" for none), weak ones marked;
// a changed score is saved.
export function scoreField(li, item) {
  if (!('score' in item)) return;
  const input = document.createElement('input');
  input.type = 'number';
  input.min = '0';
  input.max = '100';
  input.step = '1';
  input.className = 'score';
  input.value = item.score === null ? '' : String(item.score);
  input.placeholder = '–';
  input.dataset.word = item.word;
  input.setAttribute('aria-label', t('scoreLabel', item.word));
  // A word without a score scores 0, as in the figures.
  if ((item.score ?? 0) < weakBelow) {
    li.classList.add('weak');
    input.title = t('legendWeak', weakBelow);
  }
  input.addEventListener('change', () => saveScore(item.word, input.value.trim()));
  // Ctrl+Z in the field undoes its typing, not an edit of the grid.
  input.addEventListener('keydown', (event) => event.stopPropagation());
  li.append(input);
}

async function saveScore(word, value) {
  const score = Number(value);
  if (value === '' || !Number.isInteger(score) || score < 0 || score > 100) {
    page.say(t('badScore'), true);
    return;
  }
  try {
    await post('score', {word, score});
    page.say(t('scoreSaved', word, score));
    page.refresh();
  } catch (e) {
    page.fail(e);
  }
}

// Asks the figures of the grid anew, a moment after the last change.
export function scheduleQuality() {
  clearTimeout(timer);
  timer = setTimeout(askQuality, 150);
}

async function askQuality() {
  const mine = ++ticket;
  if (!page.askable()) {
    showQuality(null);
    return;
  }
  try {
    const reply = await post('quality', {rows: page.rows()});
    if (mine === ticket) showQuality(reply);
  } catch (e) {
    if (mine === ticket) page.fail(e);
  }
}

// Shows `reply` (null: none) beside the grid and marks its weak squares.
function showQuality(reply) {
  shown = reply;
  const grid = page.board.grid;
  weak = new Set();
  crossing = new Set();
  if (reply && reply.squares === grid.cells.length) {
    for (const slot of reply.weak || []) {
      const step = slot.direction === 'across' ? 1 : grid.width;
      const start = grid.index(slot.row, slot.col);
      for (let k = 0; k < slot.length; k++) weak.add(start + k * step);
    }
    for (const [r, c] of reply.crossings || []) crossing.add(grid.index(r, c));
  }
  page.board.draw();
  page.board.cells.forEach((td, i) => {
    const title = crossing.has(i) ? t('legendCrossing')
      : weak.has(i) ? t('legendWeak', weakBelow) : '';
    if (td.title !== title) td.title = title;
  });
  drawFigures();
}

// The figures as names and values (and a name's longer form).
function figureLines(q) {
  const band = BANDS.includes(q.band) ? t('band' + BANDS.indexOf(q.band)) : q.band;
  const lines = [
    [t('fSquares'), String(q.squares)],
    [t('fBlack'), q.black + ' (' + two(q.blackShare) + '%)'],
    [t('fWords'), String(q.words)],
    [t('fPdr'), two(q.pdr) + ' (' + band + ')', t('fPdrTitle')],
  ];
  const s = q.scores;
  if (!s) return lines;
  const none = (x, f = String) => x === null || x === undefined ? '–' : f(x);
  const kinds = (s.kinds || []).map((n, k) => n ? t('kind' + k) + ' ' + n : '')
    .filter((x) => x).join(', ');
  lines.push([t('fLowest'), none(s.lowest)], [t('fMean'), none(s.mean, two)],
    [t('fWeakBelow'), String(s.weakBelow)], [t('fWeakWords'), String(s.weakWords)],
    [t('fWeakCrossings'), String(s.weakCrossings)], [t('fUnscored'), String(s.unscored)],
    [t('fKinds'), kinds || '–']);
  return lines;
}

// Draws the last figures, in the language shown now.
export function drawFigures() {
  const dl = $('figures');
  dl.replaceChildren();
  const q = shown;
  for (const [name, value, title] of q ? figureLines(q) : []) {
    const dt = document.createElement('dt');
    dt.textContent = name;
    if (title) dt.title = title;
    const dd = document.createElement('dd');
    dd.textContent = value;
    const pair = document.createElement('div');
    pair.append(dt, dd);
    dl.append(pair);
  }
  const scored = !!(q && q.scores);
  $('figures-note').textContent = scored && q.placed < q.words
    ? t('placedNote', q.placed, q.words) : '';
  $('weak-legend').hidden = !scored;
  $('legend-weak').textContent = t('legendWeak', weakBelow);
}
