#include "scenes/tpp/TppSceneContent.h"

void TppSceneContent::Parse(VeJson& doc) { m_stdContent = doc.Get("content"); }
