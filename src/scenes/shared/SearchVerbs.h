#pragma once
// The phrases with which a user asks for a web search (GBK), longer ones before the ones they
// contain: "百度一下", "搜索一下" ... "搜索", "查找", "查询". The web-search rewrite rule and the
// video scenes test them in this order.
#include <string>
#include <vector>

const std::vector<std::string>& WebSearchVerbs();
