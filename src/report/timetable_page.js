// The timetable page's script: it reads the lessons kept once in the page
// (the "datos" block) and draws only what is asked for: the index of
// teachers, groups and rooms, and the week chosen by the address's fragment
// (#profesor-N, #grupo-CODE, #aula-CODE). Nothing is fetched: the page works
// opened from disk, offline.
(function () {
  'use strict';

  const data = JSON.parse(document.getElementById('datos').textContent);
  const texts = data.textos;

  // A lesson is kLessonFields numbers in data.clases, in this order.
  const TEACHER = 0, CELL = 1, GROUP = 2, ROOM = 3, SUBJECT = 4, CAUSES = 5, TASK = 6,
    MATERIA = 7, kLessonFields = 8;
  const lessonCount = data.clases.length / kLessonFields;
  const field = (lesson, at) => data.clases[lesson * kLessonFields + at];

  // ACTIVIDAD_n: the lesson's place among its teacher's, but where the data
  // says otherwise.
  const numbers = new Uint32Array(lessonCount);
  for (let lesson = 0; lesson < lessonCount; ++lesson)
    numbers[lesson] = lesson > 0 && field(lesson - 1, TEACHER) === field(lesson, TEACHER)
      ? numbers[lesson - 1] + 1 : 1;
  for (let i = 0; i < data.numerosAparte.length; i += 2)
    numbers[data.numerosAparte[i]] = data.numerosAparte[i + 1];

  // The codes of the activity record. All but X_MATERIAOMC follow from one
  // of the lesson's keys (X_ACTIVIDAD from its task, the day and slot codes
  // from its cell, X_DEPCENTRO from its room, X_UNIDAD from its group), but
  // where the data keeps a lesson's own apart.
  const decidingKey = [TASK, CELL, CELL, ROOM, GROUP], kDecided = decidingKey.length;
  const codesByKey = data.codigos.map((pairs) => {
    const byKey = new Map();
    for (let i = 0; i < pairs.length; i += 2) byKey.set(pairs[i], pairs[i + 1]);
    return byKey;
  });
  const codesApart = new Map();
  for (let i = 0; i < data.codigosAparte.length; i += 3)
    codesApart.set(data.codigosAparte[i] * kDecided + data.codigosAparte[i + 1],
      data.codigosAparte[i + 2]);
  function codes(lesson) {
    const shown = decidingKey.map((key, at) => {
      const apart = codesApart.get(lesson * kDecided + at);
      return texts[apart !== undefined ? apart : codesByKey[at].get(field(lesson, key))];
    });
    shown.push(texts[field(lesson, MATERIA)]);
    return shown;
  }

  // The six fields of the activity record, in the order the codes are kept.
  const kCodeLabels =
    ['X_ACTIVIDAD', 'N_DIASEMANA', 'X_TRAMO', 'X_DEPCENTRO', 'X_UNIDAD', 'X_MATERIAOMC'];

  // Why a lesson reaches Delphos with a field empty or wrong, by the bit of
  // its causes (the slot's, bit 0, puts it under the grid instead).
  const kCauses = [
    null,
    (lesson) => 'Sin unidad en Delphos: no hay grupo ' + quoted(groupCode(lesson)) + '.',
    (lesson) => 'Sin materia en Delphos: no se encuentra la materia ' +
      quoted(texts[field(lesson, SUBJECT)]) + '.',
    (lesson) => 'Sin dependencia en Delphos: no hay aula ' + quoted(roomCode(lesson)) + '.',
    (lesson) => 'Actividad genérica (G439) en Delphos: ' +
      (isBlank(texts[field(lesson, TASK)]) ? 'la clase no tiene tarea.'
        : 'la tarea ' + quoted(texts[field(lesson, TASK)]) + ' no tiene código.'),
    (lesson) => 'Actividad ' + quoted(texts[field(lesson, TASK)]) +
      ' tal cual en Delphos: ninguna materia tiene ese código.',
  ];

  const collator = new Intl.Collator('es', { numeric: true, sensitivity: 'base' });

  // Accents and letter case ignored, as a person searches.
  function folded(text) {
    return text.normalize('NFD').replace(/[\u0300-\u036f]/g, '').toLowerCase();
  }
  function isBlank(text) {
    return !/[^\u0000-\u0020]/.test(text);
  }
  function quoted(text) {
    return isBlank(text) ? '(vacío)' : '«' + text + '»';
  }
  function element(tag, className, text) {
    const made = document.createElement(tag);
    if (className) made.className = className;
    if (text !== undefined) made.textContent = text;
    return made;
  }

  // ---- The teachers, groups and rooms, each with its lessons ----

  const subjectNames = new Map();
  for (let i = 0; i < data.nombresAsignatura.length; i += 2)
    subjectNames.set(data.nombresAsignatura[i], texts[data.nombresAsignatura[i + 1]]);
  const subjectName = (lesson) =>
    subjectNames.get(field(lesson, SUBJECT)) || texts[field(lesson, SUBJECT)];

  const teachers = data.profesores.map(([id, name, abbreviation, employee, number]) => ({
    kind: 'profesor', id, name: isBlank(name) ? abbreviation : name, abbreviation, detail: '',
    lessons: [],
    record: 'EMPLEADO_' + number,
    facts: 'EMPLEADO_' + number + ' · abreviatura ' + quoted(abbreviation) + ' · X_EMPLEADO ' +
      quoted(employee),
  }));
  const groups = data.grupos.map(([id, code, unit]) => ({
    kind: 'grupo', id, name: code, abbreviation: '', detail: '', lessons: [],
    facts: 'X_UNIDAD ' + quoted(unit),
  }));
  const rooms = data.aulas.map(([id, code, name]) => ({
    kind: 'aula', id, name, abbreviation: code, detail: name === code ? '' : code, lessons: [],
    facts: 'código ' + quoted(code),
  }));
  for (let lesson = 0; lesson < lessonCount; ++lesson) {
    teachers[field(lesson, TEACHER)].lessons.push(lesson);
    if (field(lesson, GROUP) >= 0) groups[field(lesson, GROUP)].lessons.push(lesson);
    if (field(lesson, ROOM) >= 0) rooms[field(lesson, ROOM)].lessons.push(lesson);
  }
  const groupCode = (lesson) =>
    field(lesson, GROUP) >= 0 ? groups[field(lesson, GROUP)].name : '';
  const roomCode = (lesson) =>
    field(lesson, ROOM) >= 0 ? rooms[field(lesson, ROOM)].abbreviation : '';
  const roomName = (lesson) => field(lesson, ROOM) >= 0 ? rooms[field(lesson, ROOM)].name : '';

  // Two teachers whose names read alike are told apart by their abbreviation.
  const sameName = new Map();
  for (const teacher of teachers) {
    const key = folded(teacher.name).trim();
    sameName.set(key, (sameName.get(key) || 0) + 1);
  }
  const sameAbbreviation = new Map();
  for (const teacher of teachers)
    sameAbbreviation.set(teacher.abbreviation, (sameAbbreviation.get(teacher.abbreviation) || 0) + 1);
  for (const teacher of teachers) {
    if (sameName.get(folded(teacher.name).trim()) < 2) continue;
    teacher.detail = teacher.abbreviation;
    if (sameAbbreviation.get(teacher.abbreviation) > 1) teacher.detail += ', ' + teacher.record;
  }

  // The index's order; the lessons keep pointing to the data's.
  const kinds = [
    { title: 'Profesores', one: 'profesor', entries: [...teachers], heading: 'Profesor' },
    { title: 'Grupos', one: 'grupo', entries: [...groups], heading: 'Grupo' },
    { title: 'Aulas', one: 'aula', entries: [...rooms], heading: 'Aula' },
  ];
  const byId = new Map();
  for (const kind of kinds) {
    kind.entries.sort((a, b) => collator.compare(a.name, b.name) ||
      collator.compare(a.abbreviation, b.abbreviation));
    for (const entry of kind.entries) {
      entry.searched = folded(entry.name + ' ' + entry.abbreviation);
      byId.set(entry.id, entry);
    }
  }

  // The sets of lessons that coincide, by lesson: each lesson's first set,
  // and from each set a lesson is in, the next (-1: none).
  const firstSet = new Int32Array(lessonCount).fill(-1);
  const memberSet = [], nextMember = [];
  data.coincidencias.forEach((set, at) => {
    for (const lesson of set) {
      memberSet.push(at);
      nextMember.push(firstSet[lesson]);
      firstSet[lesson] = memberSet.length - 1;
    }
  });
  function othersOf(lesson) {
    const others = new Set();
    for (let member = firstSet[lesson]; member >= 0; member = nextMember[member])
      for (const other of data.coincidencias[memberSet[member]])
        if (other !== lesson) others.add(other);
    return [...others];
  }

  // ---- The index and the search ----

  const search = document.getElementById('buscar');
  const count = document.getElementById('cuenta');
  const lists = document.getElementById('listas');

  function drawIndex() {
    for (const kind of kinds) {
      const section = element('section', 'lista');
      const heading = element('h2');
      kind.counter = element('span', 'cuenta');
      heading.append(kind.title + ' ', kind.counter);
      if (kind.entries.some((entry) => entry.lessons.length)) {
        const printAll = element('button', 'imprimir-todos', 'Imprimir todos');
        printAll.type = 'button';
        printAll.title = 'Imprime el horario de cada ' + kind.one + ', uno por hoja';
        printAll.addEventListener('click', () => printEvery(kind));
        heading.append(printAll);
      }
      const list = element('ul');
      for (const entry of kind.entries) {
        const item = element('li');
        const link = element('a', entry.lessons.length ? '' : 'sin-clases', entry.name);
        link.href = '#' + entry.id;
        if (entry.detail) link.append(' ', element('span', 'abrev', entry.detail));
        item.append(link);
        entry.item = item;
        entry.link = link;
        list.append(item);
      }
      kind.section = section;
      section.append(heading, list);
      lists.append(section);
    }
    narrow();
  }

  // Every word typed must be in the name, the abbreviation or the code.
  function narrow() {
    const words = folded(search.value).split(/\s+/).filter(Boolean);
    let shown = 0;
    for (const kind of kinds) {
      let inKind = 0;
      for (const entry of kind.entries) {
        const matches = words.every((word) => entry.searched.includes(word));
        entry.item.hidden = !matches;
        inKind += matches;
      }
      kind.counter.textContent = '(' + inKind + ')';
      kind.section.hidden = inKind === 0;
      shown += inKind;
    }
    count.textContent = !words.length ? ''
      : shown === 0 ? 'Ningún profesor, grupo ni aula contiene «' + search.value.trim() + '».'
        : shown === 1 ? '1 resultado.' : shown + ' resultados.';
  }

  function firstShown() {
    for (const kind of kinds)
      for (const entry of kind.entries) if (!entry.item.hidden) return entry;
    return null;
  }

  // ---- A week ----

  const facts = {
    document: document.getElementById('documento').textContent.split(/[\\/]/).pop(),
    date: document.getElementById('fecha').textContent,
  };
  const pageTitle = document.title;
  const unplacedKeys =
    new Map(data.sinTramo.map(([lesson, day, hour, key]) => [lesson, [day, hour, key]]));

  function timesText(times) {
    return times ? texts[times[0]] + '–' + texts[times[1]] : '';
  }

  // What a lesson's cell names besides its subject, by the week it is in.
  function shownWith(lesson, kind) {
    const teacher = teachers[field(lesson, TEACHER)];
    if (kind === 'profesor') return [groupCode(lesson), roomName(lesson)];
    if (kind === 'grupo') return [teacher.name, roomName(lesson)];
    return [groupCode(lesson), teacher.name];
  }

  // "Coincide con 2.º ESO B, Lengua, en el aula 12": the other lesson's
  // subject, and its group, teacher and room where they are not this one's.
  function otherLesson(other, lesson) {
    const parts = [];
    if (groupCode(other) && field(other, GROUP) !== field(lesson, GROUP))
      parts.push(groupCode(other));
    parts.push(subjectName(other));
    if (field(other, TEACHER) !== field(lesson, TEACHER))
      parts.push(teachers[field(other, TEACHER)].name);
    const room = roomName(other);
    if (room && field(other, ROOM) !== field(lesson, ROOM))
      parts.push((/^aula\b/.test(folded(room)) ? 'en ' : 'en el aula ') + room);
    return parts.join(', ');
  }

  const kShownCoincidences = 3;

  // The lessons it coincides with that this week shows beside it are
  // counted; the others, which the week does not show, are named.
  function coincidenceText(lesson, besideIt) {
    const others = othersOf(lesson);
    const beside = others.filter((other) => besideIt.includes(other)).length;
    const elsewhere = others.filter((other) => !besideIt.includes(other));
    const parts = [];
    if (beside === 1) parts.push('la otra clase de este tramo');
    if (beside > 1) parts.push('las otras ' + beside + ' clases de este tramo');
    parts.push(...elsewhere.slice(0, kShownCoincidences).map((other) => otherLesson(other, lesson)));
    let text = 'Coincide con ' + parts.join('; con ');
    if (elsewhere.length > kShownCoincidences)
      text += '; y ' + (elsewhere.length - kShownCoincidences) + ' más';
    return text + '.';
  }

  function codesText(lesson) {
    const shown = codes(lesson);
    return 'ACTIVIDAD_' + numbers[lesson] +
      kCodeLabels.map((label, at) => ' · ' + label + ' ' + quoted(shown[at])).join('');
  }

  // What every lesson of a group's or a room's week has wrong alike, its
  // group or its room missing, which its sheet says once.
  const saidOnce = { profesor: 0, grupo: 1 << 1, aula: 1 << 3 };

  // A lesson in the week of a teacher, group or room (`kind`), drawn beside
  // the others of its cell.
  function drawLesson(lesson, kind, besideIt) {
    const causes = field(lesson, CAUSES);
    const wrong = causes !== 0;
    const coincides = firstSet[lesson] >= 0;
    const shown = element('div', 'clase' + (wrong ? ' mal' : '') + (coincides ? ' coincide' : ''));
    shown.dataset.clase = lesson;
    shown.title = codesText(lesson);
    shown.tabIndex = 0;
    shown.append(element('span', 'materia', subjectName(lesson)));
    for (const text of shownWith(lesson, kind))
      if (text) shown.append(element('span', 'con', text));
    for (let bit = 1; bit < kCauses.length; ++bit)
      if (causes & (1 << bit) & ~saidOnce[kind])
        shown.append(element('span', 'marca', kCauses[bit](lesson)));
    if (coincides) {
      // On paper, where a week must fit one sheet, only how many; and
      // nothing where the sheet shows them all beside it.
      const others = othersOf(lesson);
      const clash = shown.appendChild(element('span', 'choque', coincidenceText(lesson, besideIt)));
      clash.dataset.papel = others.every((other) => besideIt.includes(other)) ? ''
        : others.length === 1 ? 'Coincide con otra clase.'
          : 'Coincide con otras ' + others.length + ' clases.';
    }
    return shown;
  }

  // One click on a lesson shows the codes Delphos receives; another hides them.
  function toggleCodes(shown) {
    const open = shown.querySelector('.codigos');
    if (open) {
      open.remove();
      return;
    }
    const lesson = Number(shown.dataset.clase);
    const list = element('dl', 'codigos');
    list.append(element('dt', '', 'Actividad'), element('dd', '', 'ACTIVIDAD_' + numbers[lesson]));
    const values = codes(lesson);
    kCodeLabels.forEach((label, at) =>
      list.append(element('dt', '', label), element('dd', '', quoted(values[at]))));
    shown.append(list);
  }

  function plural(n, one, many) {
    return n + ' ' + (n === 1 ? one : many);
  }

  function drawSheet(entry) {
    const kind = kinds.find((k) => k.one === entry.kind);
    const sheet = element('section', 'hoja');
    const head = element('header', 'cabecera-hoja');
    const title = element('h2', '', kind.heading + ' ');
    title.append(element('strong', '', entry.name));
    if (entry.detail) title.append(' (' + entry.detail + ')');
    const origin = element('p', 'origen',
      'Documento ' + facts.document + ' · importado el ' + facts.date);
    const detail = element('p', 'detalle',
      entry.facts + ' · ' + plural(entry.lessons.length, 'clase', 'clases'));
    head.append(title, origin, detail);
    sheet.append(head);
    const alike = entry.lessons.find((lesson) => field(lesson, CAUSES) & saidOnce[entry.kind]);
    if (alike !== undefined) {
      const bit = Math.log2(saidOnce[entry.kind]);
      sheet.append(element('p', 'aviso', kCauses[bit](alike) + ' Así llegan todas sus clases.'));
    }

    if (!entry.lessons.length) {
      sheet.append(element('p', 'nota', 'No tiene ninguna clase en la solución (SOLUC).'));
      return sheet;
    }
    const cells = new Map();
    const unplaced = [];
    for (const lesson of entry.lessons) {
      const cell = field(lesson, CELL);
      if (cell < 0) unplaced.push(lesson);
      else (cells.get(cell) || cells.set(cell, []).get(cell)).push(lesson);
    }
    if (data.dias.length) sheet.append(drawGrid(entry, cells));
    if (unplaced.length) sheet.append(...drawUnplaced(entry, unplaced));
    return sheet;
  }

  function drawGrid(entry, cells) {
    const columns = data.dias.length;
    const table = element('table', 'semana');
    const headRow = element('tr');
    headRow.append(element('th', 'tramo', 'Tramo'));
    for (const day of data.dias) headRow.append(element('th', '', day));
    table.appendChild(element('thead')).append(headRow);
    const body = table.appendChild(element('tbody'));
    data.tramos.forEach((slot, row) => {
      const line = element('tr');
      const label = element('th', 'tramo');
      label.append(element('span', 'numero', slot), element('span', 'horas', timesText(data.horasFila[row])));
      line.append(label);
      for (let column = 0; column < columns; ++column) {
        const cell = row * columns + column;
        const times = data.horas[cell];
        const shown = element('td', times ? '' : 'sin-tramo');
        if (times && timesText(times) !== timesText(data.horasFila[row]))
          shown.append(element('span', 'horas', timesText(times)));
        const inCell = cells.get(cell) || [];
        for (const lesson of inCell) shown.append(drawLesson(lesson, entry.kind, inCell));
        line.append(shown);
      }
      body.append(line);
    });
    return table;
  }

  function drawUnplaced(entry, unplaced) {
    const intro = element('p', 'aviso', plural(unplaced.length, 'clase', 'clases') +
      ' sin día ni tramo en Delphos (el horario del centro no tiene su día y tramo), ' +
      (unplaced.length === 1 ? 'que no se puede colocar:' : 'que no se pueden colocar:'));
    const list = element('ul', 'sin-colocar');
    for (const lesson of unplaced) {
      const [day, hour, key] = unplacedKeys.get(lesson);
      const item = element('li', '', 'Día ' + quoted(day) + ', tramo ' + quoted(hour) +
        ' (clave ' + quoted(key) + '): ');
      item.append(drawLesson(lesson, entry.kind, []));
      list.append(item);
    }
    return [intro, list];
  }

  // ---- Fitting a week to an A4 landscape sheet ----

  // The printable area of the sheet (@page's margins taken off), in CSS
  // pixels, and the type sizes between which a week is scaled to fit it.
  const kMillimetre = 96 / 25.4;
  const kSheetHeight = 190 * kMillimetre;  // 210 mm less the margins, and a little
  const kLargest = 11, kSmallest = 5;  // pt

  // Before printing, each sheet is made ready for paper (its clashes
  // counted, not named), laid out at the sheet's width, all at once, and its
  // type scaled down until its height fits; on paper its rows then stretch
  // to fill the sheet. After printing, the screen's texts come back.
  function fitToSheets(sheets) {
    const apply = (sizes) =>
      sheets.forEach((sheet, at) => sheet.style.setProperty('--letra', sizes[at] + 'pt'));
    for (const sheet of sheets) {
      if (!sheet.classList.contains('papel'))
        for (const clash of sheet.querySelectorAll('.choque')) {
          clash.dataset.pantalla = clash.textContent;
          clash.textContent = clash.dataset.papel;
        }
      sheet.classList.add('papel', 'midiendo');
    }
    let size = sheets.map(() => kLargest);
    for (let pass = 0; pass < 8; ++pass) {
      apply(size);
      const heights = sheets.map((sheet) => sheet.offsetHeight);
      const smaller = size.map((pt, at) => heights[at] <= kSheetHeight ? pt
        : Math.max(kSmallest, Math.floor(pt * Math.min(0.95, kSheetHeight / heights[at]) * 10) / 10));
      if (smaller.every((pt, at) => pt === size[at])) break;
      size = smaller;
    }
    apply(size);
    for (const sheet of sheets) sheet.classList.remove('midiendo');
  }

  const week = document.getElementById('semana');
  const everySheet = document.getElementById('todas');

  function printEvery(kind) {
    const entries = kind.entries.filter((entry) => entry.lessons.length);
    everySheet.replaceChildren(...entries.map(drawSheet));
    everySheet.classList.add('midiendo');
    fitToSheets([...everySheet.children]);
    everySheet.classList.remove('midiendo');
    document.body.classList.add('imprimiendo-todas');
    window.print();
  }
  window.addEventListener('beforeprint', () => {
    if (!document.body.classList.contains('imprimiendo-todas'))
      fitToSheets([...week.querySelectorAll('.hoja')]);
  });
  window.addEventListener('afterprint', () => {
    for (const sheet of week.querySelectorAll('.hoja.papel')) {
      sheet.classList.remove('papel');
      for (const clash of sheet.querySelectorAll('.choque')) clash.textContent = clash.dataset.pantalla;
    }
    if (!document.body.classList.contains('imprimiendo-todas')) return;
    document.body.classList.remove('imprimiendo-todas');
    everySheet.replaceChildren();
  });

  // ---- The week the address names ----

  const welcome = [...week.childNodes];

  function chosen() {
    const fragment = location.hash.slice(1);
    if (byId.has(fragment)) return byId.get(fragment);
    // A fragment typed or pasted may come with its characters decoded.
    for (const [id, entry] of byId) {
      try {
        if (decodeURIComponent(id) === decodeURIComponent(fragment)) return entry;
      } catch (malformed) {
        return null;
      }
    }
    return null;
  }

  function show() {
    const entry = chosen();
    for (const e of byId.values()) e.link.removeAttribute('aria-current');
    if (!entry) {
      week.replaceChildren(...welcome);
      document.title = pageTitle;
      return;
    }
    entry.link.setAttribute('aria-current', 'page');
    const tools = element('p', 'botones');
    const print = element('button', '', 'Imprimir');
    print.type = 'button';
    print.addEventListener('click', () => window.print());
    tools.append(print);
    week.replaceChildren(tools, drawSheet(entry));
    document.title = entry.name + ' · ' + pageTitle;
    window.scrollTo(0, 0);
  }

  week.addEventListener('click', (event) => {
    const shown = event.target.closest('.clase');
    if (shown && !event.target.closest('.codigos')) toggleCodes(shown);
  });
  week.addEventListener('keydown', (event) => {
    if ((event.key === 'Enter' || event.key === ' ') && event.target.matches('.clase')) {
      event.preventDefault();
      toggleCodes(event.target);
    }
  });
  search.addEventListener('input', narrow);
  search.addEventListener('keydown', (event) => {
    if (event.key !== 'Enter') return;
    const first = firstShown();
    if (first) location.hash = first.id;
  });
  window.addEventListener('hashchange', show);

  drawIndex();
  show();
})();
