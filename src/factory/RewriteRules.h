#pragma once
// Rules that turn a text the semantic engine did not understand into the fields a semantic
// result for it would carry. Each takes the GBK text and returns true when it rewrote the
// document.
#include <string>

#include "core/CString.h"
#include "core/HostTypes.h"
#include "host/VeJson.h"

bool RewriteSoftware(const std::string& gbkText, VeJson& doc);
bool RewriteTrainTicket(const std::string& gbkText, VeJson& doc);
bool RewriteWebSearch(const std::string& gbkText, VeJson& doc);
bool RewriteFilmTitle(const std::string& gbkText, VeJson& doc);
bool RewriteSongTitle(const std::string& gbkText, VeJson& doc);

// The words that open a page of the host's main window; sets `logType` on a match.
bool CheckMainMenuWord(const CString& text, LogType& logType);
