// Reads an SGF file with Sabaki's SGF library (which decodes it by its CA) and writes it
// back as the library stringifies it, in UTF-8, as the Sabaki editor saves.
const sgf = require('@sabaki/sgf');
const fs = require('fs');
const [, , input, output] = process.argv;
const trees = sgf.parseFile(input);
trees[0].data.CA = ['UTF-8'];
fs.writeFileSync(output, sgf.stringify(trees));
