#pragma once
// The host's answer window: the question in the result window, the answer as the
// assistant's reply. Both texts GBK.
#include <string>

void ShowAnswer(const std::string& gbkQuestion, const std::string& gbkAnswer);
