// The endings collection, kept in the browser's storage in the desktop record's text form.
// Every write reads, merges and writes under one lock shared by the tabs; a tab re-checks
// what another tab wrote, so a write that raced past the lock cannot drop its endings.
const RECORD = "sessiya.endings";
// Damaged values kept beside: "sessiya.endings.bak", then ".bak.1" to ".bak.9".
const KEPT_COPIES = 10;
// Of a damaged value too large to keep whole beside it, this many characters are kept.
const KEPT_PART = 65536;
// Far above fourteen names; a longer value is not ours, and not handed to the engine whole.
const LARGEST_RECORD = 4096;
// How long after writing an ending a tab still checks that another tab's write kept it.
const SETTLE_MS = 2000;

// Where the endings found are not kept, what the player reads, by the reason.
const NOTICES = {
  unavailable: "Концовки не сохранятся: хранилище браузера недоступно.",
  full: "Концовки не сохранились: хранилище браузера переполнено.",
  newer: "Запись концовок сделана новой версией игры: её не трогаем, а счёт ведём до выхода.",
  damaged: "Концовки не сохранились: испорченную запись не удалось отложить.",
};

const copyName = (number) => `${RECORD}.bak${number === 0 ? "" : `.${number}`}`;
const say = (line) => console.error(`sessiya: endings record in localStorage "${RECORD}": ${line}`);

// One read-merge-write at a time across the tabs; where the browser has no locks or refuses
// them, at once. Either way, the storage event's re-check below makes up for a lost race.
function underLock(task) {
  let ran = false;
  const run = () => {
    ran = true;
    task();
  };
  if (navigator.locks === undefined) return run();
  navigator.locks.request(RECORD, run).catch((error) => {
    if (ran) throw error;
    run();
  });
}

// A damaged value, kept under the first free copy's name; with all of them taken, in place of
// the last. A value too large to fit beside the record leaves its first part. False where no
// copy can be made (a full quota): the record is then not written over it.
function keepAside(text) {
  const part = text.slice(0, KEPT_PART);
  try {
    const kept = Array.from({ length: KEPT_COPIES },
                            (_, number) => localStorage.getItem(copyName(number)));
    if (kept.includes(text) || kept.includes(part)) return true;
    const free = kept.indexOf(null);
    const name = copyName(free === -1 ? KEPT_COPIES - 1 : free);
    const over = free === -1 ? ` in place of an earlier one, as ${KEPT_COPIES} are kept at most` : "";
    try {
      localStorage.setItem(name, text);
      say(`the damaged value is kept as "${name}"${over}`);
    } catch (error) {
      if (part === text) throw error;
      localStorage.setItem(name, part);
      say(`the damaged value (${text.length} characters) does not fit beside it: its first ` +
          `${KEPT_PART} characters are kept as "${name}"${over}`);
    }
    return true;
  } catch (error) {
    say(`the damaged value cannot be kept aside, so it is not written over: ${error.message}`);
    return false;
  }
}

// changed: the endings or whether they are kept changed, by this tab or another.
export function endingsStore(engine, changed) {
  let reportedProblem = "";
  let trouble = "";           // a key of NOTICES while what is found is not kept
  const unsaved = new Set();  // found here and not written yet
  const recent = new Set();   // written here in the last SETTLE_MS

  function report(problem) {
    if (problem === "" || problem === reportedProblem) return;
    reportedProblem = problem;
    say(problem);
  }
  // The stored value and what it holds: null text when there is none, `unavailable` when the
  // storage cannot be read at all.
  function stored() {
    try {
      const text = localStorage.getItem(RECORD);
      if (text === null) return { text, found: [], problem: "" };
      if (text.length > LARGEST_RECORD) return { text, found: [], problem: "it is too large" };
      return { text, ...engine.readEndings(text) };
    } catch (error) {
      return { unavailable: true, found: [], problem: `the browser's storage cannot be read: ${error.message}` };
    }
  }
  // What stops the stored value from being replaced: a newer version's, or none to be had.
  function untouchable(value) {
    report(value.problem);
    if (value.newer) trouble = "newer";
    if (value.unavailable) trouble = "unavailable";
    return value.newer || value.unavailable;
  }
  const first = stored();
  untouchable(first);
  let found = new Set(first.found);

  function write(merge) {
    const before = stored();
    if (!untouchable(before)) {
      if (merge) for (const name of before.found) found.add(name);
      if (before.problem !== "" && !keepAside(before.text)) {
        trouble = "damaged";
      } else {
        try {
          localStorage.setItem(RECORD, engine.writeEndings([...found]));
          unsaved.clear();
          trouble = "";
        } catch (error) {
          trouble = error.name === "QuotaExceededError" ? "full" : "unavailable";
          report(`it cannot be written: ${error.message}`);
        }
      }
    }
    changed();
  }
  const save = (merge) => underLock(() => write(merge));

  // What another tab wrote: its endings taken in; if it dropped one this tab has just
  // written or could not write, written again.
  function takeStored() {
    const now = stored();
    if (!untouchable(now) && now.problem === "") {
      const ours = [...unsaved, ...recent];
      found = new Set([...now.found, ...ours]);
      if (ours.some((name) => !now.found.includes(name))) save(true);
    }
    changed();
  }
  addEventListener("storage", (event) => {
    if (event.key === RECORD || event.key === null) takeStored();
  });

  return {
    has: (name) => found.has(name),
    get size() { return found.size; },
    // Found here and not kept, and why: 0 and "" while all is kept.
    get unsaved() { return trouble === "" ? 0 : unsaved.size; },
    get notice() { return NOTICES[trouble] ?? ""; },
    add(name) {
      found.add(name);
      unsaved.add(name);
      recent.add(name);
      setTimeout(() => recent.delete(name), SETTLE_MS);
      save(true);
    },
    takeStored,
    forget() {
      found = new Set();
      unsaved.clear();
      recent.clear();
      save(false);
    },
  };
}
