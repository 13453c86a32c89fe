#pragma once
// The fields of a semantic slot: the "value" or "normValue" of the "semantic^slots" entry
// whose "name" is the given one; empty when there is no such slot.
#include <string>

#include "host/VeJson.h"

inline std::string SlotValue(const VeJson& doc, const char* name) {
    return doc.GetBrotherLeaf("semantic^slots^name", name, "semantic^slots^value", 2);
}

inline std::string SlotNormValue(const VeJson& doc, const char* name) {
    return doc.GetBrotherLeaf("semantic^slots^name", name, "semantic^slots^normValue", 2);
}
