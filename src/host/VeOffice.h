#pragma once
#include "core/CString.h"
#include "vescene/Export.h"

class VESCENE_API CVeOffice {
public:
    CVeOffice() = default;
    CVeOffice(const CVeOffice& other);
    // Holds no state of its own, so assignment has nothing to copy.
    CVeOffice& operator=(const CVeOffice& other);

    // Creates a Word document from the named template; true on success.
    bool WordTemplate(CString& name);
};
