// The endings collection, kept in the browser's storage in the desktop record's text form.
// A damaged value is reported once and left alone until an ending is found, then kept
// under the ".bak" key; another tab's endings are merged in before every write.
const RECORD = "sessiya.endings";

export function endingsStore(engine) {
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

  return {
    has: (name) => found.has(name),
    get size() { return found.size; },
    add(name) {
      found.add(name);
      saveEndings(true);
    },
    // What another tab found meanwhile.
    takeStored() {
      for (const name of loadEndings()) found.add(name);
    },
    forget() {
      found = new Set();
      saveEndings(false);
    },
  };
}
