// Everyday names of divisions, shared by the place tables' generators.
'use strict';
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

module.exports = { shortName };
