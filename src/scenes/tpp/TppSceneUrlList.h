#pragma once
#include "scenes/tpp/TppSceneDeclined.h"

// A list of pages to choose from: the online service gets the utterance instead.
class TppSceneUrlList : public TppSceneDeclined {};
