#pragma once
// The steps the website and hot-topic scenes share: each text (GBK) through the site parser
// or the system command table, then a web search.
#include <string>

#include "core/HostTypes.h"
#include "platform/WinTypes.h"

// The normalised text is tried first, then the plain one; when neither opens anything the
// web search takes the first non-empty of them. False only when both are empty.
bool OpenSiteOrSearch(const std::string& gbkNormValue, const std::string& gbkValue, LogType& logType,
                      vewin::HICON& icon);
