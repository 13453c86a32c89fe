#pragma once
#include "scenes/tpp/TppSceneDeclined.h"

// A result of no other kind: the online service gets the utterance instead.
class TppSceneOther : public TppSceneDeclined {};
