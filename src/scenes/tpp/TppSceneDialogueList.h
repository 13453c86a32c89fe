#pragma once
#include "scenes/tpp/TppSceneDeclined.h"

// A list of answers: the online service gets the utterance instead.
class TppSceneDialogueList : public TppSceneDeclined {};
