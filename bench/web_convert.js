// The page's engine under node, for make bench: each input converted in
// memory as the page converts it (the bytes into the in-memory file system,
// the run, the output's bytes back), the module loaded and the input read
// beforehand; prints the median time of the conversion alone and writes the
// last output, so that it can be compared with the native program's.
// usage: node web_convert.js MARLIVA_JS RUNS INPUT OUTPUT [FRAME_RATE]
'use strict';
const fs = require('node:fs');
const path = require('node:path');
const [script, runs, input, output, frameRate = '25'] = process.argv.slice(2);

require(path.resolve(script))().ready.then((marliva) => {
  const bytes = fs.readFileSync(input);
  const name = path.basename(input);
  const settings = { frameRate: frameRate };
  const times = [];
  let result;
  for (let run = -2; run < Number(runs); ++run) {  // two runs to warm up
    const start = process.hrtime.bigint();
    result = marliva.convertFile(name, bytes, settings, path.basename(output));
    const elapsed = Number(process.hrtime.bigint() - start) / 1e6;
    if (run >= 0) times.push(elapsed);
  }
  if (!result.bytes) throw new Error(result.message.join(' '));
  fs.writeFileSync(output, result.bytes);
  times.sort((a, b) => a - b);
  console.log(times[Math.floor(times.length / 2)].toFixed(3));
});
