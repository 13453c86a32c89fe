#include "scenes/shared/SearchVerbs.h"

#include "host/VeChar.h"

const std::vector<std::string>& WebSearchVerbs() {
    static const std::vector<std::string> verbs = {
        GBK("百度一下"), GBK("百度搜索"), GBK("百度打开"), GBK("搜索一下"), GBK("查询一下"), GBK("搜一下"),
        GBK("查一下"),   GBK("找一下"),   GBK("搜索"),     GBK("查找"),     GBK("查询"),
    };
    return verbs;
}
