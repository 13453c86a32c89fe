#pragma once
#include "scenes/tpp/TppSceneContent.h"

// A media key, given as its virtual-key code in decimal.
class TppSceneCombKey : public TppSceneContent {
public:
    int Execute() override;
};
