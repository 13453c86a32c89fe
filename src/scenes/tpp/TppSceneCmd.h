#pragma once
#include "scenes/tpp/TppSceneContent.h"

// A command the host runs by name.
class TppSceneCmd : public TppSceneContent {
public:
    int Execute() override;
};
