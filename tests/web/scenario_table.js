// The scenario table (tests/scenarios/dialog_runs.txt) as data, read as
// tests/support/scenario_table.h reads it for the C++ drivers: "scenario NAME" starts a block,
// steps are indented by two blanks, their checks by four, "#" starts a comment line.
'use strict';

const fs = require('node:fs');

const wordsOf = (text) => text.split(/\s+/).filter((word) => word !== '');

function parseScenarios(text) {
  const scenarios = [];
  text.split('\n').forEach((raw, index) => {
    const line = raw.replace(/\r$/, '');
    const number = index + 1;
    if (line === '' || line.startsWith('#')) {
      return;
    }
    const scenario = scenarios[scenarios.length - 1];
    if (line.startsWith('scenario ')) {
      scenarios.push({ name: line.slice(9), steps: [] });
    } else if (line.startsWith('    ') && scenario && scenario.steps.length > 0) {
      const body = line.slice(4);
      const blank = body.indexOf(' ');
      scenario.steps[scenario.steps.length - 1].checks.push({
        what: blank < 0 ? body : body.slice(0, blank),
        value: blank < 0 ? '' : body.slice(blank + 1),
        line: number,
      });
    } else if (line.startsWith('  ') && scenario) {
      const [action = '', ...words] = wordsOf(line);
      scenario.steps.push({ action, words, checks: [], line: number });
    }
  });
  return scenarios;
}

// The reason a step cannot be run on `front` ("web"), from its "not FRONT REASON" check.
function skippedOn(step, front) {
  const check = step.checks.find((c) => c.what === 'not' && c.value.startsWith(front + ' '));
  return check ? check.value.slice(front.length + 1) : null;
}

// A saved MT's lines but its third, which holds the path it was saved under.
function withoutPathLine(bytes) {
  return bytes.toString('latin1').split(/(?<=\n)/).filter((_, i) => i !== 2).join('');
}

const readScenarios = (file) => parseScenarios(fs.readFileSync(file, 'utf8'));

module.exports = { parseScenarios, readScenarios, skippedOn, withoutPathLine, wordsOf };
