"use strict";
// The page's host loop: the engine holds the story; this draws what it holds as the
// desktop window draws it, and hands the engine the player's moves.
(async () => {
  const TWIPS_PER_PIXEL = 15;
  const NEW_ATTEMPT = "пункт «Новая попытка» в меню «Файл»";
  const QUESTIONS = ["Итак ответ B?", "Вы уверены?"];

  const $ = (id) => document.getElementById(id);
  const assets = JSON.parse($("assets").textContent);  // what the opening scene needs
  const parsed = new Promise((resolve) => {
    if (document.readyState === "loading") {
      document.addEventListener("DOMContentLoaded", resolve);
    } else {
      resolve();
    }
  });
  let pictures = null;
  function scenePictures() {
    if (pictures === null) {
      pictures = { "": assets.start, ...JSON.parse($("pictures").textContent) };
    }
    return pictures;
  }
  // The links' bold face may come a moment later; the wrap needs the regular one.
  const [engine] = await Promise.all([engineStarting, document.fonts.load('11px "Sessiya Sans"')]);

  const form1 = $("Form1");
  const central = $("centralwidget");
  const labels = [1, 2, 3, 4, 5, 6].map((n) => $(`Label${n}`));
  const buttons = [1, 2, 3, 4].map((n) => $(`Command${n}`));
  const pictureBox = $("Picture1");
  const links = { mail: $("Label7"), website: $("Label9") };
  const readingOrder = engine.readingOrder();  // Command1, Command3, Command2, Command4

  // The engine's wrap decides where lines break; the page tells it where each character
  // stands as the desktop sets text: in fixed point, 1/64 px, each glyph's advance (from
  // the font's own table) truncated to it, each kerning adjustment rounded. Kerning is
  // measured with the page's copy of the font, only for the pairs the font kerns.
  const FIXED = 64;
  const PIXELS = 11;
  const { unitsPerEm, advances, kerned } = assets.metrics;
  const kernedPairs = new Set(kerned);
  const measure = document.createElement("canvas").getContext("2d");
  measure.font = `${PIXELS}px "Sessiya Sans"`;
  measure.fontKerning = "normal";
  const design = (character) => advances[character] * PIXELS * FIXED / unitsPerEm;
  const kernings = new Map();
  function kerning(pair) {
    if (!kernedPairs.has(pair)) return 0;
    let kern = kernings.get(pair);
    if (kern === undefined) {
      kern = Math.round(measure.measureText(pair).width * FIXED - design(pair[0]) - design(pair[1]));
      kernings.set(pair, kern);
    }
    return kern;
  }
  function endlessLine(text) {
    const x = [0];
    for (let i = 0; i < text.length; ++i) {
      const step = Math.floor(design(text[i])) + (i + 1 < text.length ? kerning(text.substr(i, 2)) : 0);
      x.push(x[i] + step);
    }
    return x.map((units) => units / FIXED);
  }
  const wrapped = new Map();
  function linesOf(text, labelWidth) {
    const key = `${labelWidth}\n${text}`;
    let lines = wrapped.get(key);
    if (lines === undefined) {
      const x = endlessLine(text);
      lines = engine.wrapLines(text, labelWidth, (i) => x[i])
        .map(([start, shown]) => text.substr(start, shown));
      wrapped.set(key, lines);
    }
    return lines;
  }

  // The labels never change size: their widths are read once.
  const labelWidths = new Map(labels.map((label) => [label, label.clientWidth]));
  // The lines are drawn for the eye; a screen reader gets the caption in one piece.
  const drawn = new WeakMap();
  function drawLabel(label, text) {
    if (drawn.get(label) === text) return;
    drawn.set(label, text);
    const lines = linesOf(text, labelWidths.get(label)).map((line) => {
      const row = document.createElement("div");
      row.textContent = line;
      row.setAttribute("aria-hidden", "true");
      return row;
    });
    const whole = document.createElement("span");
    whole.className = "for-screen-readers";
    whole.textContent = text;
    label.replaceChildren(...lines, whole);
  }

  function pictureOf(entry) {
    const img = new Image(entry.width, entry.height);
    img.alt = "";
    img.setAttribute("aria-hidden", "true");
    // A picture that cannot be shown leaves the box's background; the game goes on.
    img.addEventListener("error", () => { img.hidden = true; });
    img.src = entry.src;
    return img;
  }
  // Each picture is decoded once, on its first showing, and kept for the next ones.
  const shownPictures = new Map();
  let shownReference = null;
  function showPicture(reference) {
    shownReference = reference;
    if (reference !== "" && document.readyState === "loading") {
      // A move before the page has been read to its end: the picture follows when it has.
      parsed.then(() => { if (shownReference === reference) showPicture(reference); });
      return;
    }
    const entry = reference === "" ? assets.start : scenePictures()[reference];
    if (entry === undefined) {
      pictureBox.replaceChildren();
      return;
    }
    let img = shownPictures.get(entry);
    if (img === undefined) {
      img = pictureOf(entry);
      shownPictures.set(entry, img);
    }
    pictureBox.replaceChildren(img);
  }

  function announce(text) {
    const said = document.createElement("p");
    said.textContent = text;
    $("spoken").replaceChildren(said);
  }

  // Which of the game's two windows the player is in: a press or the focus coming into the
  // other one brings it in; the dialog starts again at its first question when it comes in.
  let current = "main";
  function comeTo(which) {
    if (which === current) return;
    current = which;
    $("Form2").classList.toggle("active", which === "dialog");
    if (which === "dialog") dialog.activate();
  }
  function windowOf(node) {
    if ($("Form2").contains(node)) return "dialog";
    return form1.contains(node) ? "main" : null;
  }
  for (const event of ["pointerdown", "focusin"]) {
    document.addEventListener(event, (e) => {
      const which = windowOf(e.target);
      if (which !== null) comeTo(which);
    }, true);
  }

  let pendingPicture = null;
  let dialogAsked = false;
  const page = {
    loadPicture(reference) { pendingPicture = reference; },
    showDialog() { dialogAsked = true; },
  };
  let game = new engine.Game(page);

  function focusFirstOption() {
    if (current === "dialog") return;
    const screen = game.screen();
    const first = readingOrder.find((option) => screen.buttonVisible[option - 1]);
    const target = first === undefined ? central : buttons[first - 1];
    if (document.activeElement !== target) target.focus({ preventScroll: true });
  }

  function render(speak) {
    const screen = game.screen();
    screen.captions.forEach((caption, i) => drawLabel(labels[i], caption));
    for (let option = 1; option <= 4; ++option) {
      labels[option + 1].hidden = !screen.labelVisible[option - 1];
      const button = buttons[option - 1];
      button.hidden = !screen.buttonVisible[option - 1];
      button.setAttribute("aria-label", `${engine.spokenLetter(option)}. ${screen.captions[option + 1]}`);
    }
    pictureBox.style.height = `${screen.pictureHeight / TWIPS_PER_PIXEL}px`;
    if (pendingPicture !== null) {
      showPicture(pendingPicture);
      pendingPicture = null;
    }
    pictureBox.setAttribute("aria-label", engine.pictureDescription(screen.picture));
    if (speak) {
      const over = !screen.buttonVisible.includes(true);
      announce(game.spokenScene() + (over ? ` ${engine.attemptOverCue(NEW_ATTEMPT)}` : ""));
    }
    focusFirstOption();
    noteEnding();
  }

  function press(option) {
    dialogAsked = false;
    game.press(option);
    render(true);
    if (dialogAsked) dialog.show();
  }
  buttons.forEach((button, i) => button.addEventListener("click", () => press(i + 1)));

  // The answer dialog: modeless, asks twice; the second "Да!" in a row ends the attempt.
  const dialog = {
    panel: $("Form2"),
    question: $("Form2_Label1"),
    yes: $("Form2_Command1"),
    stage: 0,  // h: 0 with the first question on screen, 1 once "Да!" was given
    placed: false,
    ask(stage) {
      this.stage = stage;
      this.question.textContent = QUESTIONS[stage];
      announce(QUESTIONS[stage]);
    },
    activate() { this.ask(0); },
    show() {
      this.panel.hidden = false;
      if (!this.placed) {
        // Where the stored layouts put it: 10 px left of the window, 93 px lower.
        const client = central.getBoundingClientRect();
        this.moveTo(client.left - 10, client.top + 93);
        this.placed = true;
      }
      current = "dialog";
      this.panel.classList.add("active");
      this.activate();
      this.yes.focus();
    },
    hide() {
      this.panel.hidden = true;
      this.panel.classList.remove("active");
      current = "main";
      focusFirstOption();
    },
    confirm() {
      if (this.stage === 0) {
        this.ask(1);
        return;
      }
      game.confirmFinalAnswer();
      render(true);
      this.hide();
    },
    moveTo(left, top) {
      const box = this.panel.getBoundingClientRect();
      const x = Math.min(Math.max(left, 0), Math.max(0, innerWidth - box.width));
      const y = Math.min(Math.max(top, 0), Math.max(0, innerHeight - box.height));
      this.panel.style.left = `${x}px`;
      this.panel.style.top = `${y}px`;
    },
    reset() {
      this.panel.hidden = true;
      this.panel.classList.remove("active");
      this.placed = false;
      this.stage = 0;
      this.question.textContent = QUESTIONS[0];
    },
  };
  $("Form2_Picture1").replaceChildren(pictureOf(assets.dialog));
  dialog.yes.addEventListener("click", () => dialog.confirm());
  $("Form2_Command2").addEventListener("click", () => dialog.hide());
  dialog.panel.querySelector(".close-box").addEventListener("click", () => dialog.hide());

  const titlebar = dialog.panel.querySelector(".titlebar");
  titlebar.addEventListener("pointerdown", (e) => {
    if (e.button !== 0 || e.target.closest(".close-box")) return;
    const box = dialog.panel.getBoundingClientRect();
    const grab = { x: e.clientX - box.left, y: e.clientY - box.top };
    titlebar.setPointerCapture(e.pointerId);
    const drag = (m) => dialog.moveTo(m.clientX - grab.x, m.clientY - grab.y);
    titlebar.addEventListener("pointermove", drag);
    titlebar.addEventListener("pointerup", () => titlebar.removeEventListener("pointermove", drag),
                              { once: true });
    e.preventDefault();
  });

  // The menus "Файл" and "Концовки".
  const menus = ["m_file", "m_endings"].map((id) => ({
    title: $(id),
    list: $(`${id}_menu`),
    items: [...$(`${id}_menu`).querySelectorAll("button")],
  }));
  const openMenuOf = () => menus.find((menu) => !menu.list.hidden);
  function openMenu(menu) {
    closeMenu(false);
    menu.list.style.left = `${menu.title.offsetLeft}px`;
    menu.list.hidden = false;
    menu.title.setAttribute("aria-expanded", "true");
    menu.items[0].focus();
  }
  function closeMenu(refocus) {
    const menu = openMenuOf();
    if (menu === undefined) return;
    menu.list.hidden = true;
    menu.title.setAttribute("aria-expanded", "false");
    if (refocus) focusFirstOption();
  }
  for (const menu of menus) {
    menu.title.addEventListener("click",
                                () => (menu.list.hidden ? openMenu(menu) : closeMenu(true)));
    menu.list.addEventListener("keydown", (e) => {
      const at = menu.items.indexOf(document.activeElement);
      if (e.key === "ArrowDown" || e.key === "ArrowUp") {
        const step = e.key === "ArrowDown" ? 1 : menu.items.length - 1;
        menu.items[(at + step) % menu.items.length].focus();
      } else if (e.key === "ArrowLeft" || e.key === "ArrowRight") {
        openMenu(menus[(menus.indexOf(menu) + 1) % menus.length]);
      } else if (e.key === "Escape" || e.key === "Tab") {
        closeMenu(true);
      } else {
        return;
      }
      e.preventDefault();
      e.stopPropagation();
    });
  }
  document.addEventListener("pointerdown", (e) => {
    const menu = openMenuOf();
    if (menu && !menu.list.contains(e.target) && e.target !== menu.title) closeMenu(false);
  });

  $("m_new").addEventListener("click", () => {
    closeMenu(false);
    game.newAttempt();
    render(true);
  });

  // The endings collection, kept in the browser's storage in the desktop record's text form.
  // A damaged value is reported once and left alone until an ending is found, then kept
  // under the ".bak" key; another tab's endings are merged in before every write.
  const RECORD = "sessiya.endings";
  const ENDINGS = engine.endings();
  let reportedProblem = "";
  function storedRecord() {
    let text = null;
    try {
      text = localStorage.getItem(RECORD);
    } catch (error) {
      return { found: [], problem: `the browser's storage cannot be read: ${error.message}` };
    }
    return text === null ? { found: [], problem: "" } : engine.readEndings(text);
  }
  function report(problem) {
    if (problem === "" || problem === reportedProblem) return;
    reportedProblem = problem;
    console.error(`sessiya: endings record in localStorage "${RECORD}": ${problem}`);
  }
  function loadEndings() {
    const stored = storedRecord();
    report(stored.problem);
    return new Set(stored.found);
  }
  let found = loadEndings();
  function saveEndings(merge) {
    const stored = storedRecord();
    if (merge) for (const name of stored.found) found.add(name);
    try {
      if (stored.problem !== "") localStorage.setItem(`${RECORD}.bak`, localStorage.getItem(RECORD));
      localStorage.setItem(RECORD, engine.writeEndings([...found]));
    } catch (error) {
      report(`it cannot be written: ${error.message}`);
    }
  }
  function showCount() {
    $("m_endings").innerHTML = `<u>К</u>онцовки: ${found.size} из ${ENDINGS.length}`;
  }
  const endingsPanel = $("endings");
  function fillEndings() {
    const count = `Найдено: ${found.size} из ${ENDINGS.length}`;
    $("found_count").textContent = count;
    $("all_found").hidden = found.size !== ENDINGS.length;
    $("endings_list").replaceChildren(...ENDINGS.map((ending) => {
      const row = document.createElement("li");
      row.tabIndex = -1;
      const thumbnail = document.createElement("span");
      thumbnail.className = "thumbnail";
      const words = document.createElement("span");
      if (found.has(ending.name)) {
        const entry = scenePictures()[ending.picture];
        if (entry !== undefined) thumbnail.append(pictureOf(entry));
        words.textContent = ending.title;
      } else {
        words.innerHTML = `???<br>Подсказка: `;
        words.append(ending.hint);
        row.setAttribute("aria-label", `Не найдена. Подсказка: ${ending.hint}`);
      }
      row.append(thumbnail, words);
      return row;
    }));
  }
  function noteEnding() {
    const name = game.ending();
    if (name === "" || found.has(name)) return;
    found.add(name);
    saveEndings(true);
    showCount();
    if (!endingsPanel.hidden) fillEndings();
  }
  function closeEndings() {
    endingsPanel.hidden = true;
    focusFirstOption();
  }
  $("m_found_endings").addEventListener("click", () => {
    closeMenu(false);
    for (const name of loadEndings()) found.add(name);  // what another tab found meanwhile
    showCount();
    fillEndings();
    endingsPanel.hidden = false;
    $("endings_close").focus();
    announce(`${$("found_count").textContent}`);
  });
  $("endings_close").addEventListener("click", closeEndings);
  endingsPanel.querySelector(".close-box").addEventListener("click", closeEndings);
  endingsPanel.addEventListener("keydown", (e) => {
    if (e.key !== "Escape") return;
    e.preventDefault();
    closeEndings();
  });
  $("m_forget_endings").addEventListener("click", () => {
    closeMenu(false);
    if (!confirm("Забыть все найденные концовки? Счёт начнётся с нуля.")) {
      focusFirstOption();
      return;
    }
    found = new Set();
    saveEndings(false);
    showCount();
    if (!endingsPanel.hidden) fillEndings();
    focusFirstOption();
  });
  showCount();

  // A page cannot close itself: the game ends with a farewell that offers another.
  $("m_end").addEventListener("click", () => {
    closeMenu(false);
    dialog.reset();
    endingsPanel.hidden = true;
    form1.hidden = true;
    $("farewell").hidden = false;
    $("play_again").focus();
    announce(`${$("farewell_title").textContent} ${$("farewell_text").textContent}`);
  });
  function start() {
    game = new engine.Game(page);
    current = "main";
    for (const link of Object.values(links)) link.classList.remove("hover");
    showPicture("");
    render(true);
  }
  $("play_again").addEventListener("click", () => {
    game.delete();
    $("farewell").hidden = true;
    form1.hidden = false;
    start();
  });

  // The contact links' colours: whatever lies under the mouse repaints them, by the
  // desktop window's scheme (the bare window turns only the mail link red again).
  const HOVER = [
    () => {},
    () => links.mail.classList.add("hover"),
    () => links.website.classList.add("hover"),
    () => { links.mail.classList.remove("hover"); links.website.classList.remove("hover"); },
    () => links.mail.classList.remove("hover"),
  ];
  central.addEventListener("mousemove", (e) => {
    HOVER[engine.linkHoverOver(e.target === central ? "" : e.target.closest("[id]").id)]();
  });
  // A double-click opens the link once.
  for (const link of Object.values(links)) {
    link.addEventListener("click", (e) => { if (e.detail > 1) e.preventDefault(); });
  }

  document.addEventListener("keydown", (e) => {
    // An open menu or the list of endings keeps the keys to itself.
    if (form1.hidden || openMenuOf() || !endingsPanel.hidden) return;
    if ((e.altKey && (e.code === "KeyA" || e.key.toLowerCase() === "ф")) || e.key === "F10") {
      e.preventDefault();
      openMenu(menus[0]);
      return;
    }
    if (e.altKey && (e.code === "KeyR" || e.key.toLowerCase() === "к")) {
      e.preventDefault();
      openMenu(menus[1]);
      return;
    }
    if (e.ctrlKey || e.altKey || e.metaKey || windowOf(document.activeElement) === "dialog") return;
    const option = engine.optionForKey(e.key);
    if (option !== 0) {
      e.preventDefault();
      if (!buttons[option - 1].hidden) buttons[option - 1].click();
      return;
    }
    const from = buttons.indexOf(document.activeElement);
    const direction = ["ArrowLeft", "ArrowRight", "ArrowUp", "ArrowDown"].indexOf(e.key);
    if (from < 0 || direction < 0) return;
    e.preventDefault();
    const beside = engine.optionBeside(from + 1, direction);
    if (beside !== 0 && !buttons[beside - 1].hidden) buttons[beside - 1].focus();
  });

  // The pictures as the page holds them, for its tests to check and to spoil.
  window.sessiya = {
    get pictures() { return scenePictures(); },
    dialog: assets.dialog,
  };
  form1.classList.remove("loading");  // shown in the same task as drawn: no frame between
  start();
  document.documentElement.dataset.ready = "true";
})();
