// Reads the gateway through npm's pjlink client library, as a control system
// would, and prints what it understood as one JSON object.
// Usage: node pjlink-client.js HOST PORT PASSWORD
'use strict';
const PJLink = require('pjlink');

const [host, port, password] = process.argv.slice(2);
const seen = {};

// Each step: a name, the call, and how to show what the library gave back.
const steps = [
  ['power', (p, cb) => p.getPowerState(cb), (state) => state],
  ['inputs', (p, cb) => p.getInputs(cb),
   (inputs) => inputs.map((i) => i.name.split(' ')[0].toLowerCase() + i.channel).join(' ')],
  ['errors', (p, cb) => p.getErrors(cb),
   (errors) => ['fan', 'lamp', 'temperature', 'cover', 'filter', 'other']
     .map((k) => k + ':' + (errors ? errors[k] || 0 : 0)).join(' ')],
  ['lamps', (p, cb) => p.getLamps(cb),
   (lamps) => lamps.map((l) => l.hours + (l.on ? ' on' : ' off')).join(', ')],
  ['name', (p, cb) => p.getName(cb), (...words) => words.join(' ')],
  ['manufacturer', (p, cb) => p.getManufacturer(cb), (...words) => words.join(' ')],
  ['model', (p, cb) => p.getModel(cb), (model) => model],
  ['class', (p, cb) => p.getClass(cb), (value) => String(value)],
  ['powerOn', (p, cb) => p.powerOn(cb), () => 'ok'],
  ['input', (p, cb) => p.getInput(cb), (input) => input.code],
];

const projector = new PJLink(host, Number(port), password);
let failed = false;

function next(index) {
  if (index === steps.length) {
    projector.disconnect();
    return wrongPassword();
  }
  const [name, call, show] = steps[index];
  call(projector, (error, ...values) => {
    if (error) {
      seen[name] = 'error: ' + error.message;
      failed = true;
    } else {
      seen[name] = show(...values);
    }
    next(index + 1);
  });
}

function wrongPassword() {
  const intruder = new PJLink(host, Number(port), password + 'x');
  intruder.getPowerState((error) => {
    seen.wrongPassword = error && /Authorization/.test(error.message) ? 'refused' : 'answered';
    intruder.disconnect();
    console.log(JSON.stringify(seen));
    process.exit(failed ? 1 : 0);
  });
}

setTimeout(() => {
  console.log(JSON.stringify(seen));
  console.error('no answer within 20 s');
  process.exit(1);
}, 20000).unref();
next(0);
