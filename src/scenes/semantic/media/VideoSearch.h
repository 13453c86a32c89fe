#pragma once
// The steps both video scenes share: building the keyword and opening the video (GBK texts).
#include <string>

#include "core/HostTypes.h"

// Appends `part` to `keyword`, after one space when both are non-empty.
void AppendWord(std::string& keyword, const std::string& part);

// An empty keyword opens the video site's home page. Without a platform, words such as
// 「百度搜索」 before the keyword in the utterance ask for a web search; otherwise the platform
// becomes the default video site. The host's own site table is asked first, then the
// platform's search page. Always handled.
int OpenVideo(const std::string& utterance, const std::string& keyword, std::string& platform, LogType& logType);
