// The page's engine under node (node --test): the files of tests/data converted
// in memory by the script that the page carries, byte for byte against the
// outputs of the native program; UTF-16 and cp1251 files there and back; a
// file of 100,000 entries. MARLIVA_WEB_JS names the script (default
// build-web/marliva.js).
'use strict';
const test = require('node:test');
const assert = require('node:assert');
const fs = require('node:fs');
const path = require('node:path');

const root = path.join(__dirname, '..', '..');
const data = path.join(root, 'tests', 'data');
const createMarliva = require(process.env.MARLIVA_WEB_JS || path.join(root, 'build-web', 'marliva.js'));

let marliva;
test.before(async () => {
  marliva = await createMarliva().ready;
});

// The page's settings record for marliva-convert's options: what its controls
// would hold.
function settingsOf(options) {
  const settings = {
    frameRate: '25', joinWithNewline: 'true', shiftFirstSub: 'false', firstSubHours: '0',
    firstSubMinutes: '0', firstSubSeconds: '0', firstSubMillis: '0', strict: 'false',
  };
  for (let i = 0; i < options.length; ++i) {
    if (options[i] === '--fps') settings.frameRate = options[++i];
    else if (options[i] === '--no-join') settings.joinWithNewline = 'false';
    else if (options[i] === '--strict') settings.strict = 'true';
    else if (options[i] === '--first-sub') {
      const [hours, minutes, seconds] = options[++i].split(':');
      const [whole, fraction = ''] = seconds.split('.');
      Object.assign(settings, { shiftFirstSub: 'true', firstSubHours: hours, firstSubMinutes: minutes,
                                firstSubSeconds: whole, firstSubMillis: fraction.padEnd(3, '0') });
    } else throw new Error('an option these tests do not know: ' + options[i]);
  }
  return settings;
}

// The rows of a cases.txt, each split into its words.
function cases(file) {
  return fs.readFileSync(file, 'utf8').split('\n')
    .filter((line) => line.trim() !== '' && !line.startsWith('#'))
    .map((line) => line.trim().split(/\s+/));
}

function convert(input, bytes, options, output) {
  return marliva.convertFile(input, bytes, settingsOf(options), output);
}

function assertSameBytes(actual, expected, what) {
  assert.ok(actual, what + ': nothing written');
  const a = Buffer.from(actual), b = Buffer.from(expected);
  let at = 0;
  while (at < a.length && at < b.length && a[at] === b[at]) ++at;
  assert.ok(at === a.length && at === b.length,
            `${what}: ${a.length} bytes against ${b.length}, first difference at byte ${at}`);
}

test('the golden files', () => {
  for (const [input, expected, ...options] of cases(path.join(data, 'golden', 'cases.txt'))) {
    const result = convert(path.basename(input), fs.readFileSync(path.join(data, 'golden', input)), options, expected);
    assertSameBytes(result.bytes, fs.readFileSync(path.join(data, 'golden', expected)), expected);
  }
});

test("the writers' cases", () => {
  for (const [input, expected, subs, status, ...options] of cases(path.join(data, 'writers', 'cases.txt'))) {
    const inputExtension = path.extname(input);
    const outputExtension = expected === '-' ? (inputExtension === '.ssa' ? '.srt' : '.ssa') : path.extname(expected);
    const result = convert(input, fs.readFileSync(path.join(data, 'writers', input)), options, 'out' + outputExtension);
    if (status !== '0') {
      assert.strictEqual(result.bytes, null, input);
      assert.ok(result.message.length > 0, input);
      continue;
    }
    assertSameBytes(result.bytes, fs.readFileSync(path.join(data, 'writers', expected)), input);
    assert.ok(result.log.includes('subs : ' + subs), input + ': ' + result.log.join('|'));
  }
});

test('the real files of other tools', () => {
  for (const [input, expected, ...options] of cases(path.join(data, 'real', 'cases.txt'))) {
    // A .sub file of frame lines is converted as .srt.
    const name = input.endsWith('.sub') ? input.slice(0, -4) + '.srt' : input;
    const result = convert(name, fs.readFileSync(path.join(data, 'real', input)), options, expected);
    assertSameBytes(result.bytes, fs.readFileSync(path.join(data, 'real', 'expected', expected)), input);
  }
});

test('the output is named as Open proposes, and a run that fails offers nothing', () => {
  const sample = fs.readFileSync(path.join(root, 'samples', 'sintel_en.srt'));
  assert.strictEqual(convert('movie.SRT', sample, []).output, 'movie.ssa');
  assert.strictEqual(convert('movie.ass', fs.readFileSync(path.join(data, 'golden', 'sintel_en.ssa')), []).output, 'movie.srt');
  const refused = convert('movie.txt', sample, []);
  assert.deepStrictEqual([refused.bytes, refused.message],
                         [null, ['Error with file extensions:', 'only srt=>ssa, srt=>srt and ssa=>srt supported.']]);
  const text = convert('notes.srt', Buffer.from('just some text\n'), []);
  assert.deepStrictEqual([text.bytes, text.log, text.message],
                         [null, [], ['No subtitles found in the input file:', 'notes.srt']]);
  const strict = convert('loose.srt', Buffer.from('stray\n\n1\n00:00:01,000 --> 00:00:02,000\nHi\n'), ['--strict']);
  assert.deepStrictEqual([strict.bytes, strict.message[2], strict.notConverted],
                         [null, '1 lines (first: line 1); nothing was written.',
                          ['loose.srt:1: not converted: text before the first subtitle']]);
  assert.throws(() => marliva.convertFile('a.srt', sample, { frameRates: '25' }), /no setting is named frameRates/);
});

test('a number box beyond 32 bits holds no number, as in the dialog', () => {
  const sample = fs.readFileSync(path.join(root, 'samples', 'sintel_en.srt'));
  const atZero = settingsOf(['--first-sub', '0:0:0']);
  const beyond = marliva.convertFile('a.srt', sample, { ...atZero, firstSubSeconds: '4294967306' });
  assertSameBytes(beyond.bytes, marliva.convertFile('a.srt', sample, atZero).bytes, 'first sub at 2^32 + 10 s');
});

// Cyrillic in Windows' code page 1251, the only letters of the file used below.
function cp1251(text) {
  return Buffer.from(Array.from(text, (c) => {
    const code = c.codePointAt(0);
    if (code < 0x80) return code;
    if (code >= 0x410 && code <= 0x44f) return code - 0x410 + 0xc0;
    if (code === 0x401 || code === 0x451) return code === 0x401 ? 0xa8 : 0xb8;
    throw new Error('not in these tests\' code page 1251: ' + c);
  }));
}

// A text file's characters, without the UTF-8 mark it may start with.
const textOf = (file) => fs.readFileSync(file, 'utf8').replace(/^\ufeff/, '');

test('UTF-16 and cp1251 files there and back, in their own encodings', () => {
  const utf16 = (file) => Buffer.concat([Buffer.from([0xff, 0xfe]), Buffer.from(textOf(file), 'utf16le')]);
  const ssa = convert('sintel.srt', utf16(path.join(root, 'samples', 'sintel_en.srt')), []);
  assertSameBytes(ssa.bytes, utf16(path.join(data, 'golden', 'sintel_en.ssa')), 'UTF-16 SRT => SSA');
  const back = convert('sintel.ssa', ssa.bytes, []);
  assertSameBytes(back.bytes, utf16(path.join(data, 'golden', 'sintel_en_back.srt')), 'UTF-16 SSA => SRT');

  // Legacy bytes pass as they are: the file without its UTF-8 mark, in cp1251.
  const russian = cp1251(textOf(path.join(data, 'real', 'pepper_carrot_ep6_ru_bom.srt')));
  const script = convert('ru.srt', russian, []);
  assertSameBytes(script.bytes, cp1251(textOf(path.join(data, 'real', 'expected', 'pepper_carrot_ep6_ru_bom.ssa'))),
                  'cp1251 SRT => SSA');
  const again = convert('ru.ssa', script.bytes, []);
  assertSameBytes(convert('ru.srt', again.bytes, []).bytes, script.bytes, 'cp1251 SRT => SSA => SRT => SSA');
});

test('a file of 100,000 entries', () => {
  const pad = (number, width) => String(number).padStart(width, '0');
  const time = (ms) => `${pad(Math.floor(ms / 3600000), 2)}:${pad(Math.floor(ms / 60000) % 60, 2)}:` +
                       `${pad(Math.floor(ms / 1000) % 60, 2)},${pad(ms % 1000, 3)}`;
  const entries = [];
  for (let i = 0; i < 100000; ++i)
    entries.push(`${i + 1}\r\n${time(i * 3000)} --> ${time(i * 3000 + 2500)}\r\nLine ${i + 1}\r\nsecond line\r\n\r\n`);
  const result = convert('big.srt', Buffer.from(entries.join('')), []);
  assert.ok(result.log.includes('subs : 200000'), result.log.join('|'));  // text lines
  const lines = Buffer.from(result.bytes).toString('latin1').split('\r\n');
  assert.strictEqual(lines.filter((line) => line.startsWith('Dialogue:')).length, 100000);
  assert.strictEqual(lines[lines.length - 2],
                     'Dialogue: Marked=0,83:19:57.00,83:19:59.50,*Default,100000,0000,0000,0000,,Line 100000\\nsecond line');
});
