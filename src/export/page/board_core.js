// The grid board both pages share, without the page around it: the two
// directions, the numbering of slots, the walk along a slot, the cursor's
// moves and what each key does. A plain script: the exported page inlines
// it, the studio imports it as a module; both find it as polimrezaBoard.
(function (root) {
  'use strict';
  var ACROSS = 0, DOWN = 1;

  // The slots of a width x height grid whose blocks `isBlock(i)` names:
  // every run of open squares across or down, single squares included, in
  // reading order of their starts; a square starting both an across and a
  // down slot keeps one number. Answers {numbers, slots: [across, down],
  // slotOf: [across, down]}, a slot being {number, direction, row, col,
  // cells, index} and slotOf[direction][i] the index of the slot through i
  // (-1 on a block).
  function number(width, height, isBlock) {
    var count = width * height;
    var numbers = new Array(count).fill(0);
    var slots = [[], []];
    var slotOf = [new Array(count).fill(-1), new Array(count).fill(-1)];
    var next = 0;
    for (var row = 0; row < height; row++) {
      for (var col = 0; col < width; col++) {
        var i = col + row * width;
        if (isBlock(i)) continue;
        for (var direction = ACROSS; direction <= DOWN; direction++) {
          var before = direction === ACROSS ? col > 0 && !isBlock(i - 1)
            : row > 0 && !isBlock(i - width);
          if (before) continue;
          if (numbers[i] === 0) numbers[i] = ++next;
          var step = direction === ACROSS ? 1 : width;
          var end = direction === ACROSS ? col + 1 : row + 1;
          var limit = direction === ACROSS ? width : height;
          var cells = [i];
          for (var at = i + step; end < limit && !isBlock(at); at += step, end++) cells.push(at);
          var slot = {number: numbers[i], direction: direction, row: row, col: col,
            cells: cells, index: slots[direction].length};
          for (var k = 0; k < cells.length; k++) slotOf[direction][cells[k]] = slot.index;
          slots[direction].push(slot);
        }
      }
    }
    return {numbers: numbers, slots: slots, slotOf: slotOf};
  }

  // The square `step` places from `cell` along the slot's `cells`, or -1
  // past either end.
  function along(cells, cell, step) {
    var k = cells.indexOf(cell) + step;
    return k >= 0 && k < cells.length ? cells[k] : -1;
  }

  // The square (dr, dc) from `cell`, blocks included, or -1 past the edge.
  function neighbour(width, height, cell, dr, dc) {
    var row = Math.floor(cell / width) + dr, col = cell % width + dc;
    return row >= 0 && col >= 0 && row < height && col < width ? col + row * width : -1;
  }

  // The first square of `cells` that `isEmpty` names, else the first.
  function firstEmpty(cells, isEmpty) {
    for (var k = 0; k < cells.length; k++) if (isEmpty(cells[k])) return cells[k];
    return cells[0];
  }

  // The slot `step` places from slot `index` in `direction` (-1 for none),
  // across slots first, as [direction, index]; null past either end, so
  // that Tab can leave the grid. `counts` holds the slots in each direction.
  function nextSlot(counts, direction, index, step) {
    var total = counts[ACROSS] + counts[DOWN];
    var at = index < 0 ? (step < 0 ? total : -1)
      : direction === ACROSS ? index : counts[ACROSS] + index;
    var to = at + step;
    if (to < 0 || to >= total) return null;
    return to < counts[ACROSS] ? [ACROSS, to] : [DOWN, to - counts[ACROSS]];
  }

  var ARROWS = {ArrowLeft: [0, -1], ArrowRight: [0, 1], ArrowUp: [-1, 0], ArrowDown: [1, 0]};

  // What `key` asks of the board: 'slot' (Tab), 'turn', 'back' (Backspace),
  // 'erase' (Delete), 'arrow', 'escape', 'char' (any other single
  // character) or '' (nothing).
  function keyAction(key) {
    if (key === 'Tab') return 'slot';
    if (key === ' ' || key === 'Spacebar') return 'turn';
    if (key === 'Backspace') return 'back';
    if (key === 'Delete') return 'erase';
    if (ARROWS.hasOwnProperty(key)) return 'arrow';
    if (key === 'Escape') return 'escape';
    return Array.from(key).length === 1 ? 'char' : '';
  }

  // An arrow key's move {dr, dc, direction}: the direction it points along.
  function arrow(key) {
    var move = ARROWS[key];
    return {dr: move[0], dc: move[1], direction: move[1] !== 0 ? ACROSS : DOWN};
  }

  root.polimrezaBoard = {ACROSS: ACROSS, DOWN: DOWN, number: number, along: along,
    neighbour: neighbour, firstEmpty: firstEmpty, nextSlot: nextSlot,
    keyAction: keyAction, arrow: arrow};
})(typeof globalThis !== 'undefined' ? globalThis : window);
