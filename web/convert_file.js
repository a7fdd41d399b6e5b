// Appended to the engine's script (--post-js): one file converted in memory,
// the way the page and node's tests convert it. The file's bytes go, as they
// are, into the in-memory file system under the file's own name, so that the
// run's messages name it; the run converts it into the output name that Open
// and Convert as propose, with the settings given; the output's bytes come
// back, and neither file stays.

// The lines of a part of the last run's report (marliva_web.cpp).
function reportLines(part) {
  const text = ccall('marlivaReport', 'string', ['number'], [part]);
  return text === '' ? [] : text.slice(0, -1).split('\n');
}

// The names of the settings' fields, as the page's controls are named.
Module['settingNames'] = function () {
  return ccall('marlivaSettingNames', 'string', [], []).slice(0, -1).split('\n');
};

// settings: one text per field of ConversionSettings, named as the field
// ("frameRate": "23.976", "joinWithNewline": "true", ...); a field left out
// keeps its value of the run before. `output`, when given, is the output's
// name instead of the proposed one (an SRT file for SRT => SRT, say).
// Returns the output's name and bytes (null when the run failed and wrote
// nothing), the log's lines, the message's, the lines not converted and the
// note on a declared frame rate.
Module['convertFile'] = function (name, bytes, settings, output) {
  for (const field of Object.keys(settings)) {
    if (!ccall('marlivaSetSetting', 'number', ['string', 'string'], [field, String(settings[field])]))
      throw new Error('no setting is named ' + field);
  }
  if (FS.cwd() !== '/files') {
    FS.mkdir('/files');
    FS.chdir('/files');
  }
  if (output === undefined) output = ccall('marlivaOutputName', 'string', ['string'], [name]);
  FS.writeFile(name, bytes);
  try {
    const completed = ccall('marlivaConvert', 'number', ['string', 'string'], [name, output]) === 1;
    return {
      output: output,
      bytes: completed ? FS.readFile(output) : null,
      log: reportLines(0),
      message: reportLines(1),
      notConverted: reportLines(2),
      note: reportLines(3),
    };
  } finally {
    for (const file of FS.readdir('/files'))
      if (file !== '.' && file !== '..') FS.unlink('/files/' + file);
  }
};
