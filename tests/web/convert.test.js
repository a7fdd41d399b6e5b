// The page's engine under node (node --test): the files of tests/data converted in memory by
// the script that the page carries (MARLIVA_WEB_JS, default build-web/marliva.js), byte for
// byte against the native program's outputs; UTF-16 and cp1251 there and back; 100,000 entries.
'use strict';
const test = require('node:test');
const assert = require('node:assert');
const fs = require('node:fs');
const path = require('node:path');

const root = path.join(__dirname, '..', '..');
const data = path.join(root, 'tests', 'data');
const createMarliva = require(process.env.MARLIVA_WEB_JS || path.join(root, 'build-web', 'marliva.js'));

let marliva;
test.before(async () => { marliva = await createMarliva().ready; });

// Options of marliva-convert that the page has no control for: their cases
// are the command line's alone.
const notOnThePage = ['--markup=strip', '--retime', '--shift', '--from', '--until', '--sync'];
const onThePage = (options) => !options.some((option, i) =>
  notOnThePage.includes(option) || (option === '--markup' && options[i + 1] === 'strip'));

// The page's settings record for marliva-convert's options: what its controls
// would hold.
function settingsOf(options) {
  const settings = { frameRate: '25', joinWithNewline: 'true', shiftFirstSub: 'false', strict: 'false',
                     firstSubHours: '0', firstSubMinutes: '0', firstSubSeconds: '0', firstSubMillis: '0',
                     translateTags: 'false' };
  for (let i = 0; i < options.length; ++i) {
    if (options[i] === '--fps') settings.frameRate = options[++i];
    else if (options[i] === '--markup') settings.translateTags = String(options[++i] === 'translate');
    else if (options[i] === '--no-join') settings.joinWithNewline = 'false';
    else if (options[i] === '--strict') settings.strict = 'true';
    else if (options[i] === '--first-sub') {
      const [hours, minutes, seconds, fraction = ''] = options[++i].split(/[:.]/);
      Object.assign(settings, { shiftFirstSub: 'true', firstSubHours: hours, firstSubMinutes: minutes,
                                firstSubSeconds: seconds, firstSubMillis: fraction.padEnd(3, '0') });
    } else throw new Error('an option these tests do not know: ' + options[i]);
  }
  return settings;
}

// The rows of a cases.txt, each split into its words.
function cases(file) {
  return fs.readFileSync(file, 'utf8').split('\n').filter((line) => line.trim() !== '' && !line.startsWith('#'))
    .map((line) => line.trim().split(/\s+/));
}

const convert = (input, bytes, options, output) => marliva.convertFile(input, bytes, settingsOf(options), output);

function assertSameBytes(actual, expected, what) {
  assert.ok(actual && Buffer.from(actual).equals(Buffer.from(expected)), what + ': other bytes than expected');
}

test('the golden files', () => {
  for (const [input, expected, ...options] of cases(path.join(data, 'golden', 'cases.txt'))) {
    const result = convert(path.basename(input), fs.readFileSync(path.join(data, 'golden', input)), options, expected);
    assertSameBytes(result.bytes, fs.readFileSync(path.join(data, 'golden', expected)), expected);
  }
});

test("the writers' cases", () => {
  for (const [input, expected, subs, status, ...options] of cases(path.join(data, 'writers', 'cases.txt'))) {
    if (!onThePage(options)) continue;
    const outputExtension = expected === '-' ? (path.extname(input) === '.ssa' ? '.srt' : '.ssa') : path.extname(expected);
    const result = convert(input, fs.readFileSync(path.join(data, 'writers', input)), options, 'out' + outputExtension);
    if (status !== '0') {  // a run that fails: a message, nothing written
      assert.deepStrictEqual([result.bytes, result.message.length > 0], [null, true], input);
    } else {
      assertSameBytes(result.bytes, fs.readFileSync(path.join(data, 'writers', expected)), input);
      assert.ok(result.log.includes('subs : ' + subs), input + ': ' + result.log.join('|'));
    }
  }
});

test('the real files of other tools', () => {
  for (const [input, expected, ...options] of cases(path.join(data, 'real', 'cases.txt'))) {
    if (!onThePage(options)) continue;
    // A .sub file of frame lines is converted as .srt.
    const name = input.endsWith('.sub') ? input.slice(0, -4) + '.srt' : input;
    const result = convert(name, fs.readFileSync(path.join(data, 'real', input)), options, expected);
    assertSameBytes(result.bytes, fs.readFileSync(path.join(data, 'real', 'expected', expected)), input);
  }
});

test('a run that fails offers nothing; the lines not converted; no setting of another name', () => {
  const sample = fs.readFileSync(path.join(root, 'samples', 'sintel_en.srt'));
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

// ASCII and Cyrillic (the only letters of the file used below) in Windows' code page 1251.
const cp1251 = (text) => Buffer.from(Array.from(text, (c) => {
  const code = c.codePointAt(0);
  return code < 0x80 ? code : code === 0x401 ? 0xa8 : code === 0x451 ? 0xb8 : code - 0x410 + 0xc0;
}));

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
  const entries = Array.from({ length: 100000 }, (_, i) =>
    `${i + 1}\r\n${time(i * 3000)} --> ${time(i * 3000 + 2500)}\r\nLine ${i + 1}\r\nsecond line\r\n\r\n`);
  const result = convert('big.srt', Buffer.from(entries.join('')), []);
  assert.ok(result.log.includes('subs : 200000'), result.log.join('|'));  // text lines
  const lines = Buffer.from(result.bytes).toString('latin1').split('\r\n');
  assert.strictEqual(lines[lines.length - 2],
                     'Dialogue: Marked=0,83:19:57.00,83:19:59.50,*Default,100000,0000,0000,0000,,Line 100000\\nsecond line');
});
